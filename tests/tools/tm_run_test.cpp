#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "tests/engine/recording_log_sink.h"
#include "tm_run_process.h"

namespace {

// The worked example of the step reporting: three steps, then the finish state.
const std::string zeroTheOnes =
    "tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n";
const std::string walker = "tape()\nstart(a)\nfinish(h)\n(a,^,a,1,R)\n";

// The lines a runner appends to its parser log while parsing `text`, one per
// line of output, as the workbench's Parser page would show them: tm-run's
// standard error carries them.
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

TEST_F(TmRun, StatusOutputAndMessageOfEachOutcome) {
    const std::string missing = folder.path("missing.txt").string();
    const std::string withErrors =
        "# comment\ntape(.1)\nbogus line\ntape(2)\nstart(a)\nstart(b)\nfinish(h)\n"
        "(a;1;h;1;R)\n(a,1,h,1,R)\n";
    const struct {
        std::vector<std::string> arguments;  // the description file goes last
        std::optional<std::string> description;
        int status;
        std::string out;
        std::string errPart;
    } cases[] = {
        {{"-"}, std::nullopt, 0, "Run complete! 3 steps.\n", parserLogOf(zeroTheOnes)},
        {{}, withErrors, 0, "Run complete! 1 steps.\n", parserLogOf(withErrors)},
        {{},
         "tape(1\nstart(a)\n(a,1,a,1,R)\n",
         2,
         "",
         parserLogOf("tape(1\nstart(a)\n(a,1,a,1,R)\n") +
             "Unable to run\nErrors in turing machine\n"},
        {{missing},
         std::nullopt,
         1,
         "",
         "tm-run: cannot read " + missing + ": No such file or directory\n"},
        {{folder.path("").string()}, std::nullopt, 1, "", "Is a directory"},
        {{"--max-steps", "many", "m.txt"},
         std::nullopt,
         1,
         "",
         "tm-run: --max-steps needs a whole number of steps, not 'many'\nTry 'tm-run --help'.\n"},
        {{"--help"}, std::nullopt, 0, "", ""},
        {{"--version"}, std::nullopt, 0, "tm-run (ZARN Turing Machine) 1.00\n", ""},
        {{"--max-steps", "1000"},
         walker,
         3,
         "",
         "tm-run: stopped after 1000 steps without reaching the finish state\n"},
        {{"--max-steps", "3"}, zeroTheOnes, 0, "Run complete! 3 steps.\n", ""},
        {{"--max-steps", "2"}, zeroTheOnes, 3, "", "stopped after 2 steps"},
        {{"--max-steps", "0"}, zeroTheOnes, 3, "", "stopped after 0 steps"},
        // After two steps the head reads a 2, for which there is no rule.
        {{},
         "tape(.112)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n",
         4,
         "",
         "stuck after 2 steps: in state \"a\" reading '2' at position 2, no rule changes "
         "anything"},
        {{}, "tape(.1)\nstart(a)\nfinish(h)\n(a,1,a,1,N)\n", 4, "", "no rule changes anything"},
        {{"--plain"},
         "tape(.12)\nstart(a)\nfinish(h)\n(a,1,a,2,N)\n",
         4,
         "",
         "stuck after 1 steps"},
        // A loop inside a few cells, with no limit, runs for ever.
        {{}, "0RB---_0LA---\n", 4, "", "never finishes"},
        // In the one-line notation "---" halts, and that step counts.
        {{"--plain", "--tape"},
         "1RB---_1LA---",
         0,
         "Run complete! 3 steps.\ntape: 11\nfirst cell: 0\nhead: 0\nsymbol '1': 2\n",
         "tm-run: halted in state A reading 1, which has no transition\n"},
        {{"1RB1LB_1LA1RZ"}, std::nullopt, 0, "Run complete! 6 steps.\n", ""},
        {{"--plain", "--counts", "--max-steps", "5"},
         walker,
         3,
         "first cell: 0\nhead: 5\nsymbol '1': 5\n",
         ""},
        // Writes x at -2, leaving the description's cells and the head at 5.
        {{"--tape"},
         "tape(.ab^^c)\nstart(a)\nfinish(h)\n(a,a,b,a,L)\n(b,^,c,^,L)\n(c,^,d,x,R)\n"
         "(d,^,d,^,R)\n(d,a,d,a,R)\n(d,b,d,b,R)\n(d,c,h,c,R)\n",
         0,
         "Run complete! 9 steps.\ntape: x^ab^^c\nfirst cell: -2\nhead: 5\nsymbol '^': 3\n"
         "symbol 'a': 1\nsymbol 'b': 1\nsymbol 'c': 1\nsymbol 'x': 1\n",
         ""},
        {{"--tape"},
         "tape(1.)\nstart(a)\nfinish(h)\n(a,^,b,^,L)\n(b,1,h,^,L)\n",
         0,
         "Run complete! 2 steps.\ntape: \nfirst cell: -1\nhead: -1\n",
         ""},
        {{"--tape", "--max-steps", "5"},
         walker,
         3,
         "tape: 11111\nfirst cell: 0\nhead: 5\nsymbol '1': 5\n",
         ""},
    };
    for (const auto& each : cases) {
        std::vector<std::string> arguments = each.arguments;
        if (each.description) {
            arguments.push_back(folder.write("m.txt", *each.description));
        }
        SCOPED_TRACE(testing::PrintToString(arguments));
        const TmRunResult run = runTmRun(arguments, zeroTheOnes);
        EXPECT_EQ(run.status, each.status);
        if (arguments.front() == "--help") {
            EXPECT_EQ(run.out.rfind("Usage: tm-run [options] FILE\n", 0), 0u) << run.out;
        } else {
            EXPECT_EQ(run.out, each.out);
        }
        EXPECT_NE(run.err.find(each.errPart), std::string::npos) << run.err;
    }
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
    const std::string swinger = "tape()\nstart(a)\nfinish(h)\n(a,^,a,1,L)\n(a,1,a,^,R)\n";
    const TmRunResult run = runTmRun({"--max-steps", "5000000", folder.write("m.txt", swinger)});
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.err,
              parserLogOf(swinger) +
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
