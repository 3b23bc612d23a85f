#include "engine/machine_runner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "recording_log_sink.h"

namespace {

using Lines = std::vector<std::string>;

const std::string hyphens(44, '-');

std::string windowStarting(const std::string& cells) {
    return cells + std::string(60 - cells.size(), '^');
}

class RunnerTest : public ::testing::Test {
protected:
    // The parser's lines from the latest parse, without the banner, the
    // hyphen line, "Parsing text..." and "-Done.".
    Lines messagesOf(const std::string& text) {
        const std::size_t before = parserLog.lines.size();
        result = runner.parse(text.c_str());
        Lines all = parserLog.texts();
        return Lines(all.begin() + static_cast<std::ptrdiff_t>(before) + 2, all.end() - 1);
    }

    // The states and tape the first report shows: "(state,symbol)" and the window.
    std::string startLine() {
        statesLog.lines.clear();
        tapeLog.lines.clear();
        runner.reportStep();
        return statesLog.last();
    }
    // Reports until the run finishes or `limit` calls were made; returns the calls.
    int runToEnd(int limit) {
        for (int calls = 1; calls <= limit; ++calls) {
            if (runner.reportStep() == 0) {
                return calls;
            }
        }
        return limit;
    }
    void parseOk(const std::string& text) { ASSERT_EQ(runner.parse(text.c_str()), 1); }
    std::string tapeWindow() const { return tapeLog.lines.back().text; }
    int headMarker() const { return tapeLog.lines.back().marker; }

    RecordingLogSink parserLog;
    RecordingLogSink statesLog;
    RecordingLogSink tapeLog;
    MachineRunner runner{&parserLog, &statesLog, &tapeLog};
    int result = -1;
};

const std::string complete = "tape(.11)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n(a,^,h,^,N)\n";

TEST_F(RunnerTest, TheBannerOpensTheParserLogAndEachParseIsFramed) {
    ASSERT_EQ(parserLog.texts(), Lines{"ZARN Turing Machine 1.00"});
    EXPECT_EQ(runner.parse(complete.c_str()), 1);
    EXPECT_EQ(parserLog.texts(),
              (Lines{"ZARN Turing Machine 1.00", hyphens, "Parsing text...", "-Done."}));
    RecordingLogSink later;
    runner.setParserLog(&later);
    EXPECT_EQ(later.texts(), Lines{"ZARN Turing Machine 1.00"});
}

// Line numbers count runs of line breaks as one, and an empty text is one
// empty line; lines are recognised by their beginning only; a description
// runs only with an accepted line of every kind.
TEST_F(RunnerTest, ParseMessagesAndAnswers) {
    const struct {
        std::string text;
        Lines messages;
        int result;
    } parses[] = {
        {"", {"Error at line 1 : "}, 0},
        {"\n\r\n\r\r\n", {"Error at line 1 : "}, 0},
        {"\r\n" + complete, {"Error at line 1 : "}, 1},
        {"tape(1)\r\n\r\nfoo\n\n\r\r\nbar\r\n",
         {"Error at line 2 : foo", "Error at line 3 : bar"},
         0},
        {"tapes(.1)\nstarted(a)\nfinished(h)\n(a,1,h,1,R)\n#comment\n tape(1)\nStart(a)\nfinish",
         {"Error at line 6 :  tape(1)", "Error at line 7 : Start(a)",
          "ERROR at line 8 : finish state already defined"},
         1},
        {"start(a)\nfinish(h)\n(a,1,h,1,R)", {}, 0},
        {"tape(1)\nfinish(h)\n(a,1,h,1,R)", {}, 0},
        {"tape(1)\nstart(a)\n(a,1,h,1,R)", {}, 0},
        {"tape(1)\nstart(a)\nfinish(h)\n(a", {"ERROR at line 4 : invalid rule"}, 0},
        {"tape(1)\nstart(a)\nfinish(h)\n(a\n(a,1,h,1,R)\nnonsense",
         {"ERROR at line 4 : invalid rule", "Error at line 6 : nonsense"},
         1},
    };
    for (const auto& parse : parses) {
        SCOPED_TRACE(parse.text);
        EXPECT_EQ(messagesOf(parse.text), parse.messages);
        EXPECT_EQ(result, parse.result);
    }
}

TEST_F(RunnerTest, TapeLinesPlaceCellsAndTheHead) {
    const struct {
        const char* tape;
        const char* start;
        const char* cells;
        int marker;
    } rows[] = {
        {"tape(1.0.1)", "(a,1)", "^^101", 4},
        {"tape(1 0)", "(a,1)", "^^1 0", 2},
        {"tape(101.)", "(a,^)", "^^101", 5},
        {"tape()", "(a,^)", "", 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tape);
        messagesOf(std::string(row.tape) + "\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
        EXPECT_EQ(startLine(), row.start);
        EXPECT_EQ(tapeWindow(), row.cells + std::string(60 - std::strlen(row.cells), '^'));
        EXPECT_EQ(headMarker(), row.marker);
    }
}

// A tape line that is rejected keeps the earlier tape, and a later one is still tried.
TEST_F(RunnerTest, RejectedTapeLines) {
    messagesOf("tape(.ab)\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(
        messagesOf("tape(101\ntape 101\nstart(a)\nfinish(h)\n(x,1,x,1,R)"),
        (Lines{"ERROR at line 1 : invalid tape string", "ERROR at line 2 : invalid tape string"}));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(startLine(), "(a,a)");
    EXPECT_EQ(tapeWindow().substr(0, 5), "^^ab^");
    EXPECT_EQ(messagesOf("start(a)\nfinish(h)\n(x,1,x,1,R)\ntape(1)\ntape(22)"),
              Lines{"ERROR at line 5 : tape already defined"});
    EXPECT_EQ(startLine(), "(a,1)");
    EXPECT_EQ(messagesOf("tape(\ntape(.7)\nstart(a)\nfinish(h)\n(x,1,x,1,R)"),
              Lines{"ERROR at line 1 : invalid tape string"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(startLine(), "(a,7)");
}

TEST_F(RunnerTest, StartAndFinishLinesTakeTheNameBetweenTheParentheses) {
    EXPECT_EQ(messagesOf("tape(1)\nstart\nstart()\nstart(q1)\nfinish(\nfinish(h) x\n"
                         "finish(z)\n(,1,,1,R)"),
              (Lines{"ERROR at line 2 : invalid start state string",
                     "ERROR at line 4 : start state already defined",
                     "ERROR at line 5 : invalid finish state string",
                     "ERROR at line 7 : finish state already defined"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(startLine(), "(,1)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(statesLog.last(), "(,1,,1,R)");
}

// State names run to the next comma, 99 characters at most; the symbols and
// the move are the characters two places after them, whatever lies between.
TEST_F(RunnerTest, RuleLinesAreReadByPosition) {
    const std::string longest(99, 'n');
    const std::string tooLong(100, 'n');
    // Rules pile up over the parses, newest first: the row without a rule for
    // the start state comes first.
    const std::pair<std::string, std::string> accepted[] = {
        {"(a ,1,b,0,R)", "(a,1)"},
        {"(a,1,b,0,R)", "(a,1,b,0,R)"},
        {"(a,1;b,0;R)", "(a,1,b,0,R)"},
        {"(a,1,b,0,R", "(a,1,b,0,R)"},
        {"(a,1,b,0,R) trailing words", "(a,1,b,0,R)"},
        {"(a,1,b,0,r)", "(a,1,b,0,0)"},
        {"(a,1,b,0,L)", "(a,1,b,0,L)"},
        {"(a,1,b,0,", "(a,1,b,0,0)"},
        {"(a,1,b,0", "(a,1,b,0,0)"},
        {"(a,1,,,,R)", "(a,1,,,,R)"},
        {"(a,1," + longest + ",1,R)", "(a,1," + longest + ",1,R)"},
    };
    for (const auto& [line, stepLine] : accepted) {
        SCOPED_TRACE(line);
        EXPECT_EQ(messagesOf("tape(.1)\nstart(a)\nfinish(h)\n" + line), Lines{});
        ASSERT_EQ(result, 1);
        startLine();
        runner.reportStep();
        EXPECT_EQ(statesLog.last(), stepLine);
    }
    const std::string rejected[] = {"(a;1;b;0;R)",
                                    "(",
                                    "(a",
                                    "(a,",
                                    "(a,1",
                                    "(a,1,",
                                    "(a,1,b",
                                    "(a,1,b,",
                                    "(a)1,b,0,R)",
                                    "(a,1," + tooLong + ",1,R)",
                                    "(" + tooLong + ",1,b,1,R)"};
    for (const std::string& line : rejected) {
        SCOPED_TRACE(line);
        EXPECT_EQ(messagesOf("tape(.1)\nstart(a)\nfinish(h)\n" + line),
                  Lines{"ERROR at line 4 : invalid rule"});
        EXPECT_EQ(result, 0);
    }
}

TEST_F(RunnerTest, HugeLinesAndNamesAreTakenWhole) {
    std::string huge(1 << 20, 'x');
    EXPECT_EQ(messagesOf(huge), Lines{"Error at line 1 : " + huge});
    const std::string longName(1 << 20, 'q');
    EXPECT_EQ(messagesOf("tape(.1)\nstart(" + longName + ")\nfinish(h)\n(" + longName +
                         ",1,h,1,R)\n(a,1,h,1,R)"),
              Lines{"ERROR at line 4 : invalid rule"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(startLine(), "(" + longName + ",1)");
}

TEST_F(RunnerTest, TheWorkedExampleLineForLine) {
    parseOk("finish(h)\n(a,^,h,^,N)\ntape(.11)\n(a,1,a,0,R)\nstart(a)");
    EXPECT_EQ(runToEnd(10), 4);
    EXPECT_EQ(statesLog.texts(),
              (Lines{"(a,1)", "(a,1,a,0,R)", "(a,1,a,0,R)", "(a,^,h,^,0)", "Finished!"}));
    EXPECT_EQ(tapeLog.texts(),
              (Lines{windowStarting("^^11"), windowStarting("^^01"), windowStarting("^^00"),
                     windowStarting("^^00"), "Finished!"}));
    const auto markers = [](const RecordingLogSink& log) {
        std::vector<int> columns;
        for (const RecordingLogSink::Line& line : log.lines) {
            columns.push_back(line.marker);
        }
        return columns;
    };
    EXPECT_EQ(markers(tapeLog), (std::vector<int>{2, 3, 4, 4, -1}));
    EXPECT_EQ(markers(statesLog), std::vector<int>(5, -1));
    EXPECT_EQ(parserLog.last(), "Run complete! 3 steps.");
}

TEST_F(RunnerTest, MarkersFollowTheHeadOutsideTheWindow) {
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

TEST_F(RunnerTest, AStartStateThatIsTheFinishStateRunsUntilARuleEntersIt) {
    parseOk("tape(.11)\nstart(h)\nfinish(h)\n(h,1,a,1,R)\n(a,1,h,1,R)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(statesLog.last(), "(h,1)");
    EXPECT_EQ(runner.reportStep(), 1);
    EXPECT_EQ(runner.reportStep(), 0);
    EXPECT_EQ(parserLog.last(), "Run complete! 2 steps.");
}

TEST_F(RunnerTest, AStuckMachineRepeatsItsLastLineAndKeepsCounting) {
    parseOk("tape(.1)\nstart(a)\nfinish(h)\n(a,1,b,0,R)");
    runToEnd(10);
    Lines expected(10, "(a,1,b,0,R)");
    expected[0] = "(a,1)";
    EXPECT_EQ(statesLog.texts(), expected);
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

// Until a rule applies, each report shows the start configuration, which a
// failed parse does not change.
TEST_F(RunnerTest, AFirstStepThatMatchesNoRuleShowsTheStartAgain) {
    parseOk("tape(.0)\nstart(first)\nfinish(h)\n(first,1,h,1,R)");
    EXPECT_EQ(runner.parse("start(second)\nstart(third)"), 0);
    EXPECT_EQ(runToEnd(3), 3);
    EXPECT_EQ(statesLog.texts(), (Lines{"(first,0)", "(first,0)", "(first,0)"}));
    EXPECT_EQ(tapeLog.lines.size(), 3u);
}

}  // namespace
