#include "ui/command_line_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows_command_line.h"

namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLineArguments, SpacesAndTabsSeparateAndAnEmptyLineHasNone) {
    EXPECT_EQ(commandLineArguments(""), Arguments{});
    EXPECT_EQ(commandLineArguments(nullptr), Arguments{});
    EXPECT_EQ(commandLineArguments("  \t "), Arguments{});
    EXPECT_EQ(commandLineArguments(" a.txt\t\tb.txt  c "), (Arguments{"a.txt", "b.txt", "c"}));
}

TEST(CommandLineArguments, QuotesKeepSpacesAndAreDropped) {
    EXPECT_EQ(commandLineArguments("\"C:\\My machines\\beaver.txt\" x.txt"),
              (Arguments{"C:\\My machines\\beaver.txt", "x.txt"}));
    EXPECT_EQ(commandLineArguments("C:\\My\" \"machines\\b.txt"),
              Arguments{"C:\\My machines\\b.txt"});
    EXPECT_EQ(commandLineArguments("\"\" \"open end"), (Arguments{"", "open end"}));
    EXPECT_EQ(commandLineArguments("\"say \"\"hi\"\"\""), Arguments{"say \"hi\""});
}

TEST(CommandLineArguments, BackslashesEscapeOnlyAQuote) {
    EXPECT_EQ(commandLineArguments("C:\\dir\\ \\\\server\\share"),
              (Arguments{"C:\\dir\\", "\\\\server\\share"}));
    EXPECT_EQ(commandLineArguments("\"C:\\a dir\\\\\" next"), (Arguments{"C:\\a dir\\", "next"}));
    EXPECT_EQ(commandLineArguments("a\\\"b \\\\\\\"c\""), (Arguments{"a\"b", "\\\"c"}));
}

// What the stand-in's main() makes of argv splits back into the same arguments.
TEST(CommandLineArguments, ArgumentsJoinedAsWindowsWouldSplitBackUnchanged) {
    const Arguments arguments{
        "/tmp/my machine.txt", "", "tab\there", "end\\", "a dir\\", "q\"uote", "\\\\\"", "x"};
    EXPECT_EQ(commandLineArguments(windowsCommandLine(arguments).c_str()), arguments);
}

}  // namespace
