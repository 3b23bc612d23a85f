#include "windows_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The stand-in's main() hands WinMain what Windows would for these arguments.
TEST(WindowsCommandLine, PlainArgumentsAreJoinedWithSpaces) {
    EXPECT_EQ(windowsCommandLine({}), "");
    EXPECT_EQ(windowsCommandLine({"machine.txt"}), "machine.txt");
    EXPECT_EQ(windowsCommandLine({"/tmp/a.txt", "b\\c.txt"}), "/tmp/a.txt b\\c.txt");
}

TEST(WindowsCommandLine, SpacesTabsQuotesAndEmptyArgumentsAreQuoted) {
    EXPECT_EQ(windowsCommandLine({"my machine.txt", "x"}), "\"my machine.txt\" x");
    EXPECT_EQ(windowsCommandLine({"a\tb"}), "\"a\tb\"");
    EXPECT_EQ(windowsCommandLine({""}), "\"\"");
    EXPECT_EQ(windowsCommandLine({"say \"hi\""}), "\"say \\\"hi\\\"\"");
}

TEST(WindowsCommandLine, BackslashesAreDoubledOnlyBeforeAQuote) {
    EXPECT_EQ(windowsCommandLine({"a dir\\b\\"}), "\"a dir\\b\\\\\"");
    EXPECT_EQ(windowsCommandLine({"a\\\"b c"}), "\"a\\\\\\\"b c\"");
    EXPECT_EQ(windowsCommandLine({"a\\\\ b"}), "\"a\\\\ b\"");
}

}  // namespace
