#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "recording_log_sink.h"

namespace {

using Lines = std::vector<std::string>;

std::string windowStarting(const std::string& cells) {
    return cells + std::string(60 - cells.size(), '^');
}

class StepReportingTest : public ::testing::Test {
protected:
    void parseOk(const std::string& text) { ASSERT_EQ(runner.parse(text.c_str()), 1); }

    // Reports until the run finishes or `limit` calls were made; returns the calls.
    int runToEnd(int limit) {
        for (int calls = 1; calls <= limit; ++calls) {
            if (runner.reportStep() == 0) {
                return calls;
            }
        }
        return limit;
    }

    RecordingLogSink parserLog;
    RecordingLogSink statesLog;
    RecordingLogSink tapeLog;
    MachineRunner runner{&parserLog, &statesLog, &tapeLog};
};

TEST_F(StepReportingTest, TheWorkedExampleLineForLine) {
    parseOk("finish(h)\n(a,^,h,^,N)\ntape(.11)\n(a,1,a,0,R)\nstart(a)");
    struct Expected {
        const char* states;
        const char* cells;
        int marker;
        int result;
    };
    const Expected calls[] = {
        {"(a,1)", "^^11", 2, 1},
        {"(a,1,a,0,R)", "^^01", 3, 1},
        {"(a,1,a,0,R)", "^^00", 4, 1},
        {"(a,^,h,^,0)", "^^00", 4, 0},
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        SCOPED_TRACE(calls[i].states);
        EXPECT_EQ(runner.reportStep(), calls[i].result);
        ASSERT_GT(statesLog.lines.size(), i);
        ASSERT_GT(tapeLog.lines.size(), i);
        EXPECT_EQ(statesLog.lines[i].text, calls[i].states);
        EXPECT_EQ(tapeLog.lines[i].text, windowStarting(calls[i].cells));
        EXPECT_EQ(tapeLog.lines[i].marker, calls[i].marker);
        EXPECT_EQ(statesLog.lines[i].marker, -1);
    }
    EXPECT_EQ(parserLog.last(), "Run complete! 3 steps.");
    EXPECT_EQ(statesLog.texts().back(), "Finished!");
    EXPECT_EQ(tapeLog.texts().back(), "Finished!");
    EXPECT_EQ(statesLog.lines.size(), 5u);
    EXPECT_EQ(tapeLog.lines.size(), 5u);
}

TEST_F(StepReportingTest, TheEndOfARunAppendsInAFixedOrder) {
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,h,2,L)");
    runner.reportStep();
    const std::size_t parserLines = parserLog.lines.size();
    EXPECT_EQ(runner.reportStep(), 0);
    EXPECT_EQ(parserLog.texts().back(), "Run complete! 1 steps.");
    EXPECT_EQ(parserLog.lines.size(), parserLines + 1);
    EXPECT_EQ(statesLog.texts(), (Lines{"(a,1)", "(a,1,h,2,L)", "Finished!"}));
    EXPECT_EQ(tapeLog.texts(), (Lines{windowStarting("^^1"), windowStarting("^^2"), "Finished!"}));
    EXPECT_EQ(tapeLog.lines[1].marker, 1);
}

TEST_F(StepReportingTest, MarkersFollowTheHeadOutsideTheWindow) {
    parseOk("tape(.)\nstart(l)\nfinish(h)\n(l,^,l,^,L)");
    runToEnd(5);
    EXPECT_EQ(tapeLog.lines.back().marker, -2);
    EXPECT_EQ(tapeLog.lines.back().text, std::string(60, '^'));

    parseOk("tape(.)\nstart(r)\nfinish(h)\n(r,^,r,x,R)");
    tapeLog.lines.clear();
    runToEnd(61);
    EXPECT_EQ(tapeLog.lines.back().marker, 62);
    EXPECT_EQ(tapeLog.lines.back().text, "^^" + std::string(58, 'x'));
}

TEST_F(StepReportingTest, AStartStateThatIsTheFinishStateRunsUntilARuleEntersIt) {
    parseOk("tape(.11)\nstart(h)\nfinish(h)\n(h,1,a,1,R)\n(a,1,h,1,R)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(statesLog.last(), "(h,1)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(runner.reportStep(), 0);
    EXPECT_EQ(parserLog.last(), "Run complete! 2 steps.");
}

TEST_F(StepReportingTest, AStuckMachineRepeatsItsLastLineAndKeepsCounting) {
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,b,0,R)");
    runToEnd(10);
    EXPECT_EQ(statesLog.texts(),
              (Lines{"(a,1)", "(a,1,b,0,R)", "(a,1,b,0,R)", "(a,1,b,0,R)", "(a,1,b,0,R)",
                     "(a,1,b,0,R)", "(a,1,b,0,R)", "(a,1,b,0,R)", "(a,1,b,0,R)", "(a,1,b,0,R)"}));
    for (std::size_t i = 2; i < tapeLog.lines.size(); ++i) {
        EXPECT_EQ(tapeLog.lines[i].text, tapeLog.lines[1].text);
        EXPECT_EQ(tapeLog.lines[i].marker, 3);
    }

    // A failed parse keeps the run going and adds its rule: the step that
    // finishes is the tenth, the nine before it counted though they were stuck.
    EXPECT_EQ(runner.parse("(b,^,h,^,N)\nnonsense"), 0);
    EXPECT_EQ(runner.reportStep(), 0);
    EXPECT_EQ(parserLog.last(), "Run complete! 10 steps.");
}

TEST_F(StepReportingTest, AFirstStepThatMatchesNoRuleShowsTheStartAgain) {
    parseOk("tape(.0)\nstart(a)\nfinish(h)\n(a,1,h,1,R)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(statesLog.texts(), (Lines{"(a,0)", "(a,0)", "(a,0)"}));
    EXPECT_EQ(tapeLog.lines.size(), 3u);
}

TEST_F(StepReportingTest, AFailedParseDuringARunDoesNotDisturbTheStartLine) {
    parseOk("tape(.0)\nstart(first)\nfinish(h)\n(first,1,h,1,R)");
    EXPECT_EQ(runner.parse("start(second)\nstart(third)"), 0);
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(first,0)");
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(first,0)");
}

TEST_F(StepReportingTest, RulesOfRepeatedParsesPileUpNewestFirst) {
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,b,x,R)\n(b,^,h,y,N)");
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,b,z,R)");
    EXPECT_EQ(runToEnd(10), 3);
    EXPECT_EQ(statesLog.texts(), (Lines{"(a,1)", "(a,1,b,z,R)", "(b,^,h,y,0)", "Finished!"}));
    EXPECT_EQ(tapeLog.lines[2].text, windowStarting("^^zy"));
}

TEST_F(StepReportingTest, ANewRunRestartsTheCountAndTheStartConfiguration) {
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,a,1,R)\n(a,^,h,^,N)");
    EXPECT_EQ(runToEnd(10), 3);
    EXPECT_EQ(parserLog.last(), "Run complete! 2 steps.");
    parseOk("tape(1.)\nstart(a)\nfinish(h)\n(b,^,b,^,N)");
    statesLog.lines.clear();
    EXPECT_EQ(runToEnd(10), 2);
    EXPECT_EQ(statesLog.texts(), (Lines{"(a,^)", "(a,^,h,^,0)", "Finished!"}));
    EXPECT_EQ(parserLog.last(), "Run complete! 1 steps.");
}

TEST_F(StepReportingTest, LongStateNamesAreShownWhole) {
    const std::string name(99, 's');
    parseOk("tape(.1)\nstart(" + name + ")\nfinish(h)\n(" + name + ",1," + name + ",1,N)");
    runner.reportStep();
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(" + name + ",1," + name + ",1,0)");
}

}  // namespace
