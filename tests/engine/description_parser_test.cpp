#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "recording_log_sink.h"

namespace {

using Lines = std::vector<std::string>;

const std::string hyphens(44, '-');

class ParserTest : public ::testing::Test {
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
    std::string tapeWindow() const { return tapeLog.lines.back().text; }
    int headMarker() const { return tapeLog.lines.back().marker; }

    RecordingLogSink parserLog;
    RecordingLogSink statesLog;
    RecordingLogSink tapeLog;
    MachineRunner runner{&parserLog, &statesLog, &tapeLog};
    int result = -1;
};

const std::string complete = "tape(.11)\nstart(a)\nfinish(h)\n(a,1,a,0,R)\n(a,^,h,^,N)\n";

TEST_F(ParserTest, TheBannerOpensTheParserLogAndEachParseIsFramed) {
    ASSERT_EQ(parserLog.texts(), Lines{"ZARN Turing Machine 1.00"});
    EXPECT_EQ(runner.parse(complete.c_str()), 1);
    EXPECT_EQ(parserLog.texts(),
              (Lines{"ZARN Turing Machine 1.00", hyphens, "Parsing text...", "-Done."}));
}

TEST_F(ParserTest, AParserLogGivenLaterGetsTheBannerToo) {
    RecordingLogSink log;
    MachineRunner later(nullptr, nullptr, nullptr);
    later.setParserLog(&log);
    EXPECT_EQ(log.texts(), Lines{"ZARN Turing Machine 1.00"});
}

// Line numbers count runs of line breaks as one; an empty text is one empty line.
TEST_F(ParserTest, LineBreaksAndEmptyLinesAreNumberedAsTheyCome) {
    EXPECT_EQ(messagesOf(""), Lines{"Error at line 1 : "});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messagesOf("\n\r\n\r\r\n"), Lines{"Error at line 1 : "});
    EXPECT_EQ(messagesOf("\r\n" + complete), Lines{"Error at line 1 : "});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(messagesOf("tape(1)\r\n\r\nfoo\n\n\r\r\nbar\r\n"),
              (Lines{"Error at line 2 : foo", "Error at line 3 : bar"}));
}

TEST_F(ParserTest, LinesAreRecognisedByTheirBeginningOnly) {
    const std::string text =
        "tapes(.1)\nstarted(a)\nfinished(h)\n(a,1,h,1,R)\n#comment\n tape(1)\nStart(a)\n"
        "finish";
    EXPECT_EQ(messagesOf(text), (Lines{"Error at line 6 :  tape(1)", "Error at line 7 : Start(a)",
                                       "ERROR at line 8 : finish state already defined"}));
    EXPECT_EQ(result, 1);
}

TEST_F(ParserTest, TapeLinesPlaceCellsAndTheHead) {
    messagesOf("tape(1.0.1)\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(startLine(), "(a,1)");
    EXPECT_EQ(tapeWindow(), "^^101" + std::string(55, '^'));
    EXPECT_EQ(headMarker(), 4);

    messagesOf("tape(1 0)\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(startLine(), "(a,1)");
    EXPECT_EQ(tapeWindow(), "^^1 0" + std::string(55, '^'));
    EXPECT_EQ(headMarker(), 2);

    messagesOf("tape(101.)\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(startLine(), "(a,^)");
    EXPECT_EQ(headMarker(), 5);

    messagesOf("tape()\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(startLine(), "(a,^)");
    EXPECT_EQ(tapeWindow(), std::string(60, '^'));
}

TEST_F(ParserTest, ARejectedTapeLineKeepsTheEarlierTape) {
    messagesOf("tape(.ab)\nstart(a)\nfinish(h)\n(x,1,x,1,R)");
    EXPECT_EQ(
        messagesOf("tape(101\ntape 101\nstart(a)\nfinish(h)\n(x,1,x,1,R)"),
        (Lines{"ERROR at line 1 : invalid tape string", "ERROR at line 2 : invalid tape string"}));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(messagesOf("start(a)\nfinish(h)\n(x,1,x,1,R)\ntape(1)\ntape(22)"),
              Lines{"ERROR at line 5 : tape already defined"});
    EXPECT_EQ(startLine(), "(a,1)");
}

TEST_F(ParserTest, AfterARejectedTapeLineALaterOneIsStillTried) {
    EXPECT_EQ(messagesOf("tape(\ntape(.7)\nstart(a)\nfinish(h)\n(x,1,x,1,R)"),
              Lines{"ERROR at line 1 : invalid tape string"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(startLine(), "(a,7)");
}

TEST_F(ParserTest, StartAndFinishLinesTakeTheNameBetweenTheParentheses) {
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

TEST_F(ParserTest, RuleLinesAreReadByPosition) {
    struct Case {
        const char* line;
        const char* stepLine;
    };
    const Case accepted[] = {
        {"(a,1,b,0,R)", "(a,1,b,0,R)"}, {"(a,1;b,0;R)", "(a,1,b,0,R)"},
        {"(a,1,b,0,R", "(a,1,b,0,R)"},  {"(a,1,b,0,R) trailing words", "(a,1,b,0,R)"},
        {"(a,1,b,0,r)", "(a,1,b,0,0)"}, {"(a,1,b,0,L)", "(a,1,b,0,L)"},
        {"(a,1,b,0,", "(a,1,b,0,0)"},   {"(a,1,b,0", "(a,1,b,0,0)"},
    };
    for (const Case& c : accepted) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(messagesOf(std::string("tape(.1)\nstart(a)\nfinish(h)\n") + c.line), Lines{});
        ASSERT_EQ(result, 1);
        startLine();
        runner.reportStep();
        EXPECT_EQ(statesLog.last(), c.stepLine);
    }
}

TEST_F(ParserTest, CommasCanBeSymbols) {
    messagesOf("tape(.,)\nstart(q0)\nfinish(h)\n(q0,,,q1,,,R)\n(q1,^,,q2,,R)");
    startLine();
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(q0,,,q1,,,R)");
    EXPECT_EQ(tapeLog.last(), "^^,^" + std::string(56, '^'));
    EXPECT_EQ(messagesOf("tape(.,)\nstart(q0)\nfinish(h)\n(q0,,q1,0,R)"), Lines{});
    startLine();
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(q0,,,1,0,R)");
}

TEST_F(ParserTest, MalformedRuleLinesAreRejectedWithoutReadingPastTheirEnd) {
    const std::string header = "tape(.1)\nstart(a)\nfinish(h)\n";
    const char* rejected[] = {"(a;1;b;0;R)", "(",      "(a",      "(a,",        "(a,1",
                              "(a,1,",       "(a,1,b", "(a,1,b,", "(a)1,b,0,R)"};
    for (const char* line : rejected) {
        SCOPED_TRACE(line);
        EXPECT_EQ(messagesOf(header + line), Lines{"ERROR at line 4 : invalid rule"});
        EXPECT_EQ(result, 0);
    }
}

TEST_F(ParserTest, StateNamesInRulesAreLimitedTo99Characters) {
    const std::string header = "tape(.1)\nstart(a)\nfinish(h)\n";
    const std::string longest(99, 'n');
    const std::string tooLong(100, 'n');
    EXPECT_EQ(messagesOf(header + "(" + longest + ",1," + longest + ",1,R)"), Lines{});
    EXPECT_EQ(messagesOf(header + "(" + tooLong + ",1,b,1,R)"),
              Lines{"ERROR at line 4 : invalid rule"});
    EXPECT_EQ(messagesOf(header + "(a,1," + tooLong + ",1,R)"),
              Lines{"ERROR at line 4 : invalid rule"});
}

TEST_F(ParserTest, SpacesBelongToNamesAndALeadingSpaceHidesARule) {
    EXPECT_EQ(messagesOf("tape(.1)\nstart(q0)\nfinish(h)\n(q0 ,1,h,1,R)\n (q0,1,h,1,R)"),
              Lines{"Error at line 5 :  (q0,1,h,1,R)"});
    EXPECT_EQ(result, 1);
    startLine();
    runner.reportStep();
    EXPECT_EQ(statesLog.last(), "(q0,1)");
}

TEST_F(ParserTest, ADescriptionNeedsAnAcceptedLineOfEveryKind) {
    EXPECT_EQ(runner.parse("start(a)\nfinish(h)\n(a,1,h,1,R)"), 0);
    EXPECT_EQ(runner.parse("tape(1)\nfinish(h)\n(a,1,h,1,R)"), 0);
    EXPECT_EQ(runner.parse("tape(1)\nstart(a)\n(a,1,h,1,R)"), 0);
    EXPECT_EQ(runner.parse("tape(1)\nstart(a)\nfinish(h)\n(a"), 0);
    EXPECT_EQ(runner.parse("tape(1)\nstart(a)\nfinish(h)\n(a\n(a,1,h,1,R)\nnonsense"), 1);
}

TEST_F(ParserTest, HugeLinesAreReportedWholeAndEveryByteIsSafe) {
    std::string huge(1 << 20, 'x');
    EXPECT_EQ(messagesOf(huge), Lines{"Error at line 1 : " + huge});
    std::string bytes;
    for (int c = 1; c < 256; ++c) {
        bytes += static_cast<char>(c);
    }
    messagesOf(bytes + "\n(" + bytes + "\ntape(" + bytes + "\nstart(" + bytes);
    const std::string longName(1 << 20, 'q');
    EXPECT_EQ(messagesOf("tape(.1)\nstart(" + longName + ")\nfinish(h)\n(" + longName +
                         ",1,h,1,R)\n(a,1,h,1,R)"),
              Lines{"ERROR at line 4 : invalid rule"});
    EXPECT_EQ(result, 1);
    EXPECT_EQ(startLine(), "(" + longName + ",1)");
}

}  // namespace
