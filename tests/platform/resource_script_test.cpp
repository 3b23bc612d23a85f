#include "resource_script.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "res/resource.h"

namespace {

using platform::parseResourceScript;
using platform::ResourceKey;
using platform::ResourceScriptResult;

ResourceScriptResult parse(const std::string& script,
                           const std::map<std::string, std::string>& files = {}) {
    return parseResourceScript(script, "test.rc",
                               [&](const std::string& name) -> std::optional<std::string> {
                                   const auto found = files.find(name);
                                   if (found == files.end())
                                       return std::nullopt;
                                   return found->second;
                               });
}

// The workbench's own script, read from res/ as windres reads it.
std::optional<std::string> resFile(const std::string& name) {
    std::ifstream file(std::string(RES_DIR) + "/" + name, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

ResourceScriptResult workbenchScript() {
    return parseResourceScript(*resFile("zarn.rc"), "zarn.rc", resFile);
}

TEST(ResourceScript, TheWorkbenchScriptReadsWhole) {
    const ResourceScriptResult result = workbenchScript();
    ASSERT_EQ(result.error, "");
    const platform::MenuTemplate& menu = result.script.menus.at(ResourceKey{IDR_MAINMENU, {}});
    ASSERT_EQ(menu.items.size(), 5u);
    EXPECT_EQ(menu.items[2].text, "&Turing");
    const platform::MenuTemplateItem& speed = menu.items[2].children[3];
    EXPECT_TRUE(speed.popup);
    EXPECT_EQ(speed.text, "&Speed");
    ASSERT_EQ(speed.children.size(), 6u);
    EXPECT_EQ(speed.children[0].text, "125ms");
    EXPECT_EQ(speed.children[0].id, static_cast<UINT>(CMD_SPEED_125MS));
    EXPECT_EQ(result.script.iconFiles.at(ResourceKey{IDI_APPICON, {}}), "zarn.ico");
    EXPECT_EQ(result.script.versionStrings.at("ProductName"), "ZARN Turing Machine");
    EXPECT_EQ(result.script.versionStrings.at("FileVersion"), "1.00");
}

TEST(ResourceScript, TheAboutDialogKeepsItsTemplate) {
    const ResourceScriptResult result = workbenchScript();
    const platform::DialogTemplate& about = result.script.dialogs.at(ResourceKey{IDD_ABOUT, {}});
    EXPECT_EQ(about.caption, "About");
    EXPECT_EQ(about.width, 223);
    EXPECT_EQ(about.height, 53);
    EXPECT_EQ(about.style,
              static_cast<DWORD>(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(about.fontSize, 8);
    EXPECT_EQ(about.fontFace, "MS Sans Serif");
    ASSERT_EQ(about.controls.size(), 5u);
    const platform::DialogControlTemplate& ok = about.controls[0];
    EXPECT_EQ(ok.className, "BUTTON");
    EXPECT_EQ(ok.id, IDOK);
    EXPECT_EQ(ok.style, static_cast<DWORD>(WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON | WS_TABSTOP));
    EXPECT_EQ(ok.x, 165);
    EXPECT_EQ(ok.height, 14);
    const platform::DialogControlTemplate& icon = about.controls[2];
    EXPECT_EQ(icon.text, "#101");
    EXPECT_EQ(icon.id, -1);
    EXPECT_EQ(icon.style & 0x1F, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(about.controls[1].text, "ZARN Turing Machine");
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
