#include "resources/resource_script.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using platform::parseResourceScript;
using platform::ResourceKey;
using platform::ResourceScriptResult;

ResourceScriptResult parse(const std::string& script,
                           const std::map<std::string, std::string>& files = {}) {
    return parseResourceScript(script, "test.rc",
                               [&](const std::string& name) -> std::optional<std::string> {
                                   const auto found = files.find(name);
                                   if (found == files.end()) {
                                       return std::nullopt;
                                   }
                                   return found->second;
                               });
}

TEST(ResourceScript, HeadersDefineSymbolsThroughGuardsAndComments) {
    const std::string header =
        "#ifndef GUARD\n#define GUARD\n/* ids */\n#define ID_A 10 // first\n#define ID_B (ID_A + "
        "5)\n"
        "#ifdef NOT_DEFINED\n#define ID_A 99\n#endif\n#endif\n";
    const ResourceScriptResult result = parse(
        "#include <windows.h>\n#include \"ids.h\"\n1 MENU\nBEGIN\n  POPUP \"&A\"\n  BEGIN\n"
        "    MENUITEM \"One\", ID_A, CHECKED\n    MENUITEM \"Two\", ID_B, GRAYED\n  END\nEND\n",
        {{"ids.h", header}});
    ASSERT_EQ(result.error, "");
    const auto& items = result.script.menus.at(ResourceKey{1, {}}).items[0].children;
    EXPECT_EQ(items[0].id, 10u);
    EXPECT_EQ(items[0].flags, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(items[1].id, 15u);
    EXPECT_EQ(items[1].flags, static_cast<UINT>(MF_GRAYED));
}

TEST(ResourceScript, StylesCombineWithOrAndNot) {
    const ResourceScriptResult result = parse(
        "NAMED DIALOG 0, 0, 10, 10\nSTYLE WS_POPUP | WS_VISIBLE | NOT WS_VISIBLE | 0x4L\n"
        "BEGIN\n  CONTROL \"x\", 7, \"button\", BS_DEFPUSHBUTTON, 1, 2, 3, 4\nEND\n");
    ASSERT_EQ(result.error, "");
    const platform::DialogTemplate& dialog = result.script.dialogs.at(ResourceKey{-1, "NAMED"});
    EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | 0x4));
    EXPECT_EQ(dialog.controls[0].className, "BUTTON");
    EXPECT_EQ(dialog.controls[0].style,
              static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON));
}

TEST(ResourceScript, MistakesAreReportedWithTheirLine) {
    EXPECT_EQ(parse("1 MENU\nBEGIN\n MENUITEM \"A\", NO_SUCH_ID\nEND\n").error,
              "test.rc:3: unknown symbol NO_SUCH_ID");
    EXPECT_EQ(parse("#include \"missing.h\"\n").error,
              "test.rc:1: cannot open include file \"missing.h\"");
    EXPECT_EQ(parse("1 MENU\nBEGIN\n MENUITEM \"unterminated, 1\nEND\n").error,
              "test.rc:3: string without its closing quote");
    EXPECT_EQ(parse("1 BITMAP \"a.bmp\"\n").error, "test.rc:1: unsupported resource type BITMAP");
    EXPECT_EQ(parse("1 MENU\nBEGIN\n").error, "test.rc:2: unexpected end of script");
    EXPECT_EQ(parse("#ifdef X\n").error, "test.rc:1: #if without #endif");
    EXPECT_NE(parse("#define A B\n#define B A\n1 MENU\nBEGIN\nMENUITEM \"x\", A\nEND\n")
                  .error.find("expands without end"),
              std::string::npos);
}

}  // namespace
