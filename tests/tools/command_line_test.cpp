#include "tools/tm-run/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, OptionsMayStandOnEitherSideOfTheFileInBothSpellings) {
    const CommandLine line = parseCommandLine(
        {"--trace", "out.txt", "machine.txt", "--max-steps=500", "--tape", "--plain"});
    ASSERT_EQ(line.error, "");
    EXPECT_TRUE(line.options.plain);
    EXPECT_EQ(line.options.descriptionPath, "machine.txt");
    EXPECT_EQ(line.options.tracePath, "out.txt");
    EXPECT_EQ(line.options.maxSteps, 500);
    EXPECT_TRUE(line.options.showTape);

    EXPECT_EQ(parseCommandLine({"-"}).options.descriptionPath, "-");
    const CommandLine ended = parseCommandLine({"--", "--tape"});
    EXPECT_EQ(ended.options.descriptionPath, "--tape");
    EXPECT_FALSE(ended.options.showTape);
    EXPECT_EQ(parseCommandLine({"--max-steps", "0", "m"}).options.maxSteps, 0);
    EXPECT_EQ(parseCommandLine({"--max-steps", "9223372036854775807", "m"}).options.maxSteps,
              INT64_MAX);
    EXPECT_TRUE(parseCommandLine({"-h"}).options.showHelp);
    EXPECT_TRUE(parseCommandLine({"--version"}).options.showVersion);
}

TEST(CommandLine, MistakesAreNamed) {
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{}, "no description file given"},
        {{"a", "b"}, "only one description file at a time"},
        {{"--fast", "m"}, "unknown option --fast"},
        {{"m", "--trace"}, "--trace needs a value"},
        {{"--tape=yes", "m"}, "--tape takes no value"},
        {{"--trace=", "m"}, "--trace needs a file name"},
        {{"--max-steps", "-1", "m"}, "--max-steps needs a whole number of steps, not '-1'"},
        {{"--max-steps", "", "m"}, "--max-steps needs a whole number of steps, not ''"},
        {{"--max-steps", "12x", "m"}, "--max-steps needs a whole number of steps, not '12x'"},
        {{"--max-steps", "1e6", "m"}, "--max-steps needs a whole number of steps, not '1e6'"},
        {{"--max-steps", "9223372036854775808", "m"},
         "--max-steps needs a whole number of steps, not '9223372036854775808'"},
        {{"--decide", "--enumerate", "2x2", "m"}, "--decide and --enumerate do not go together"},
        {{"--decide", "--trace", "t", "m"}, "--trace does not go with --decide"},
        {{"--enumerate", "2x2", "--counts"}, "--counts does not go with --enumerate"},
        {{"--enumerate", "2x2", "m"}, "--enumerate takes no description file"},
    };
    for (const auto& [arguments, error] : mistakes) {
        EXPECT_EQ(parseCommandLine(arguments).error, error) << testing::PrintToString(arguments);
    }
    EXPECT_EQ(parseCommandLine({"--help"}).error, "");
}

}  // namespace
