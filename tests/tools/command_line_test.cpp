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
}

TEST(CommandLine, ADashIsStandardInputAndADoubleDashEndsTheOptions) {
    EXPECT_EQ(parseCommandLine({"-"}).options.descriptionPath, "-");
    const CommandLine line = parseCommandLine({"--", "--tape"});
    ASSERT_EQ(line.error, "");
    EXPECT_EQ(line.options.descriptionPath, "--tape");
    EXPECT_FALSE(line.options.showTape);
}

TEST(CommandLine, AStepLimitMustBeAWholeNonNegativeNumber) {
    EXPECT_EQ(parseCommandLine({"--max-steps", "0", "m"}).options.maxSteps, 0);
    EXPECT_EQ(parseCommandLine({"--max-steps", "9223372036854775807", "m"}).options.maxSteps,
              INT64_MAX);
    for (const char* bad : {"-1", "", "12x", "1e6", "9223372036854775808"}) {
        EXPECT_NE(parseCommandLine({"--max-steps", bad, "m"}).error, "") << bad;
    }
}

TEST(CommandLine, MistakesAreNamed) {
    EXPECT_EQ(parseCommandLine({}).error, "no description file given");
    EXPECT_EQ(parseCommandLine({"a", "b"}).error, "only one description file at a time");
    EXPECT_EQ(parseCommandLine({"--fast", "m"}).error, "unknown option --fast");
    EXPECT_EQ(parseCommandLine({"m", "--trace"}).error, "--trace needs a value");
    EXPECT_EQ(parseCommandLine({"--tape=yes", "m"}).error, "--tape takes no value");
    EXPECT_EQ(parseCommandLine({"--trace=", "m"}).error, "--trace needs a file name");
}

TEST(CommandLine, HelpAndVersionNeedNoFile) {
    EXPECT_EQ(parseCommandLine({"--help"}).error, "");
    EXPECT_TRUE(parseCommandLine({"-h"}).options.showHelp);
    EXPECT_TRUE(parseCommandLine({"--version"}).options.showVersion);
}

}  // namespace
