#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "tests/engine/recording_log_sink.h"
#include "tm_run_process.h"

namespace {

// The worked example of the step reporting: three steps, then the finish state.
const std::string zeroTheOnes =
    "tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n";

// The lines a runner appends to its parser log while parsing `text`, one per
// line of output, as the workbench's Parser page would show them.
std::string parserLogOf(const std::string& text) {
    RecordingLogSink parserLog;
    RecordingLogSink unused;
    MachineRunner runner(&parserLog, &unused, &unused);
    runner.parse(text.c_str());
    std::string lines;
    for (const std::string& line : parserLog.texts()) {
        lines += line + "\n";
    }
    return lines;
}

class TmRun : public ::testing::Test {
protected:
    ScratchFolder folder;
};

TEST_F(TmRun, ARunnableDescriptionRunsToItsFinishState) {
    const TmRunResult run = runTmRun({folder.write("m.txt", zeroTheOnes)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Run complete! 3 steps.\n");
    EXPECT_EQ(run.err, parserLogOf(zeroTheOnes));
}

TEST_F(TmRun, TheParserLogOnStandardErrorIsTheRunnersOwn) {
    const std::string text =
        "# comment\ntape(.1)\nbogus line\ntape(2)\nstart(a)\nstart(b)\nfinish(h)\n"
        "(a;1;h;1;R)\n(a,1,h,1,R)\n";
    const TmRunResult run = runTmRun({folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, parserLogOf(text));
    EXPECT_NE(run.err.find("Error at line 3 : bogus line\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("ERROR at line 6 : start state already defined\n"), std::string::npos)
        << run.err;
    EXPECT_EQ(run.err.rfind("ZARN Turing Machine 1.00\n", 0), 0u) << "the banner comes first";
}

TEST_F(TmRun, ADescriptionWithErrorsDoesNotRun) {
    const std::string text = "tape(1\nstart(a)\n(a,1,a,1,R)\n";
    const TmRunResult run = runTmRun({folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, parserLogOf(text) + "Unable to run\nErrors in turing machine\n");
}

TEST_F(TmRun, StandardInputIsReadForADash) {
    const TmRunResult run = runTmRun({"-"}, zeroTheOnes);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Run complete! 3 steps.\n");
}

TEST_F(TmRun, TheTextEndsAtTheFirstNulByteAsInASavedDescription) {
    // Without the NUL the line after it would be a second, faulty tape line.
    const std::string saved = zeroTheOnes + std::string(1, '\0') + "tape(\n";
    const TmRunResult run = runTmRun({folder.write("saved.txt", saved)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, parserLogOf(zeroTheOnes));
}

TEST_F(TmRun, AFileThatCannotBeReadIsOneClearLine) {
    const std::string missing = folder.path("missing.txt").string();
    TmRunResult run = runTmRun({missing});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tm-run: cannot read " + missing + ": No such file or directory\n");
    EXPECT_EQ(run.out, "");

    run = runTmRun({folder.path("").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Is a directory"), std::string::npos) << run.err;
}

TEST_F(TmRun, ABadCommandLineSaysWhatIsWrong) {
    const TmRunResult run = runTmRun({"--max-steps", "many", "m.txt"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "tm-run: --max-steps needs a whole number of steps, not 'many'\n"
              "Try 'tm-run --help'.\n");
}

TEST_F(TmRun, HelpAndVersion) {
    TmRunResult run = runTmRun({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind("Usage: tm-run [options] FILE\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("  4  stuck"), std::string::npos) << "every exit status is listed";

    run = runTmRun({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "tm-run (ZARN Turing Machine) 1.00\n");
}

TEST_F(TmRun, AStepLimitStopsAMachineThatHasNotFinished) {
    const std::string walker = "tape()\nstart(a)\nfinish(h)\n(a,^,a,1,R)\n";
    const TmRunResult run = runTmRun({"--max-steps", "1000", folder.write("m.txt", walker)});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("tm-run: stopped after 1000 steps without reaching the finish state\n"),
              std::string::npos)
        << run.err;
}

TEST_F(TmRun, AMachineThatFinishesOnItsLastAllowedStepHasFinished) {
    TmRunResult run = runTmRun({"--max-steps", "3", folder.write("m.txt", zeroTheOnes)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Run complete! 3 steps.\n");

    run = runTmRun({"--max-steps", "2", folder.path("m.txt").string()});
    EXPECT_EQ(run.status, 3);

    run = runTmRun({"--max-steps", "0", folder.path("m.txt").string()});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("stopped after 0 steps"), std::string::npos) << run.err;
}

TEST_F(TmRun, AMachineWithNoRuleForWhatItReadsIsReportedStuck) {
    // After two steps the head reads a 2, for which there is no rule.
    const std::string text = "tape(.112)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n";
    const TmRunResult run = runTmRun({folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 4);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("in state \"a\" reading '2' at position 2, no rule changes anything"),
              std::string::npos)
        << run.err;
}

TEST_F(TmRun, ARuleThatChangesNothingLeavesTheMachineStuckToo) {
    const std::string text = "tape(.1)\nstart(a)\nfinish(h)\n(a,1,a,1,N)\n";
    const TmRunResult run = runTmRun({folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 4);
}

TEST_F(TmRun, TheTapeReportCoversEveryNonBlankCellAndCountsTheSymbols) {
    // Writes x at -2, leaving the description's cells and the head at 5.
    const std::string text =
        "tape(.ab^^c)\nstart(a)\nfinish(h)\n(a,a,b,a,L)\n(b,^,c,^,L)\n(c,^,d,x,R)\n"
        "(d,^,d,^,R)\n(d,a,d,a,R)\n(d,b,d,b,R)\n(d,c,h,c,R)\n";
    const TmRunResult run = runTmRun({"--tape", folder.write("m.txt", text)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "Run complete! 9 steps.\n"
              "tape: x^ab^^c\n"
              "first cell: -2\n"
              "head: 5\n"
              "symbol '^': 3\n"
              "symbol 'a': 1\n"
              "symbol 'b': 1\n"
              "symbol 'c': 1\n"
              "symbol 'x': 1\n");
}

TEST_F(TmRun, TheTapeReportOfABlankTapeIsEmpty) {
    const std::string text = "tape(1.)\nstart(a)\nfinish(h)\n(a,^,b,^,L)\n(b,1,h,^,L)\n";
    const TmRunResult run = runTmRun({"--tape", folder.write("m.txt", text)});
    EXPECT_EQ(run.out, "Run complete! 2 steps.\ntape: \nfirst cell: -1\nhead: -1\n");
}

TEST_F(TmRun, TheTapeIsReportedAlsoWhenTheRunIsCutShort) {
    const std::string walker = "tape()\nstart(a)\nfinish(h)\n(a,^,a,1,R)\n";
    const TmRunResult run = runTmRun({"--tape", "--max-steps", "5", folder.write("m.txt", walker)});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.out, "tape: 11111\nfirst cell: 0\nhead: 5\nsymbol '1': 5\n");
}

// Converts n ones to x one at a time, walking to the far end to append a y
// and back after each: 2n + 1 steps a round, one more to halt, 2n^2 + n + 1
// in all.
std::string sweeper(int ones) {
    return "tape(." + std::string(static_cast<std::size_t>(ones), '1') +
           ")\nstart(S)\nfinish(H)\n(S,1,W,x,R)\n(S,y,H,y,N)\n(W,1,W,1,R)\n(W,y,W,y,R)\n"
           "(W,^,B,y,L)\n(B,y,B,y,L)\n(B,1,B,1,L)\n(B,x,S,x,R)\n";
}

TEST_F(TmRun, AMachineOfTensOfBillionsOfStepsFinishesWithItsExactCount) {
    const TmRunResult run = runTmRun({"--tape", folder.write("m.txt", sweeper(100'000))});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, run.out.find("tape: ")), "Run complete! 20000100001 steps.\n");
    EXPECT_NE(
        run.out.find("\nfirst cell: 0\nhead: 100000\nsymbol 'x': 100000\nsymbol 'y': 100000\n"),
        std::string::npos);
}

TEST_F(TmRun, AMachineThatWalksOffForEverIsReportedAsNeverFinishing) {
    const std::string blanks = "tape(1.)\nstart(a)\nfinish(h)\n(a,^,a,^,L)\n(a,1,a,1,L)\n";
    TmRunResult run = runTmRun({"--tape", folder.write("blanks.txt", blanks)});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.err.find("tm-run: never finishes: after 2 steps, in state \"a\" reading '^' at "
                           "position -1, the machine repeats a pattern that goes on for ever\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(run.out, "tape: 1\nfirst cell: 0\nhead: -1\nsymbol '1': 1\n");
}

TEST_F(TmRun, PipedOutputCarriesNoProgressNoise) {
    // Long enough to pass many progress checkpoints.
    const std::string walker = "tape()\nstart(a)\nfinish(h)\n(a,^,a,1,L)\n(a,1,a,^,R)\n";
    const TmRunResult run = runTmRun({"--max-steps", "5000000", folder.write("m.txt", walker)});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
    EXPECT_EQ(run.err,
              parserLogOf(walker) +
                  "tm-run: stopped after 5000000 steps without reaching the finish state\n");
}

TEST_F(TmRun, AResultThatCannotBeWrittenIsNoSuccess) {
    const std::string command = std::string(TM_RUN_PATH) + " " +
                                folder.write("m.txt", zeroTheOnes) + " >/dev/full 2>" +
                                folder.path("err.txt").string();
    const int waitStatus = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(waitStatus));
    EXPECT_EQ(WEXITSTATUS(waitStatus), 1);
    EXPECT_NE(readFileBytes(folder.path("err.txt"))
                  .find("tm-run: cannot write standard output: No space left on device\n"),
              std::string::npos);
}

}  // namespace
