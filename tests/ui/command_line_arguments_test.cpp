#include "ui/command_line_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows_command_line.h"

namespace {

using Arguments = std::vector<std::string>;

// Spaces and tabs separate; quotes keep spaces and are dropped, and doubled
// inside quotes stand for one; backslashes escape only a quote.
TEST(CommandLineArguments, SplitAsWindowsSplitsThem) {
    const std::pair<const char*, Arguments> lines[] = {
        {"", {}},
        {"  \t ", {}},
        {" a.txt\t\tb.txt  c ", {"a.txt", "b.txt", "c"}},
        {"\"C:\\My machines\\beaver.txt\" x.txt", {"C:\\My machines\\beaver.txt", "x.txt"}},
        {"C:\\My\" \"machines\\b.txt", {"C:\\My machines\\b.txt"}},
        {"\"\" \"open end", {"", "open end"}},
        {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
        {"C:\\dir\\ \\\\server\\share", {"C:\\dir\\", "\\\\server\\share"}},
        {"\"C:\\a dir\\\\\" next", {"C:\\a dir\\", "next"}},
        {"a\\\"b \\\\\\\"c\"", {"a\"b", "\\\"c"}},
    };
    for (const auto& [line, arguments] : lines) {
        EXPECT_EQ(commandLineArguments(line), arguments) << line;
    }
    EXPECT_EQ(commandLineArguments(nullptr), Arguments{});
}

// What the stand-in's main() makes of argv splits back into the same arguments.
TEST(CommandLineArguments, ArgumentsJoinedAsWindowsWouldSplitBackUnchanged) {
    const Arguments arguments{
        "/tmp/my machine.txt", "", "tab\there", "end\\", "a dir\\", "q\"uote", "\\\\\"", "x"};
    EXPECT_EQ(commandLineArguments(windowsCommandLine(arguments).c_str()), arguments);
}

}  // namespace
