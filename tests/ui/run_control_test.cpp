#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "ui/document_window.h"
#include "workbench_fixture.h"

namespace {

const char* const workedExample =
    "tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n";
// Walks right over blanks for ever.
const char* const endlessWalk =
    "tape(.1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,^,R)\r\n";
constexpr unsigned tick = 125;

std::string blanksAfter(const std::string& cells) {
    return cells + std::string(60 - cells.size(), '^');
}

class RunControlTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        document = openDocument(workedExample);
    }

    HWND openDocument(const char* text) {
        HWND opened = newDocument();
        SetWindowTextA(record(opened).editor, text);
        return opened;
    }

    static DocumentData& record(HWND window) { return *documentData(window); }

    static std::vector<std::string> lines(HWND list) {
        std::vector<std::string> texts;
        for (const win32test::ListItem& item : win32test::listItems(list)) {
            texts.push_back(item.text);
        }
        return texts;
    }

    static std::size_t reports(HWND window) { return lines(record(window).statesLog).size(); }

    // Ticks until the next report comes; 0 when none comes within `limit` ticks.
    static int ticksToNextReport(HWND window, int limit = 100) {
        const std::size_t before = reports(window);
        for (int ticks = 1; ticks <= limit; ++ticks) {
            win32test::advanceClock(tick);
            if (reports(window) != before) {
                return ticks;
            }
        }
        return 0;
    }

    // Run on the document, the way the frame sends it.
    static void run(HWND window) { SendMessageA(window, CMD_RUN, 0, 0); }

    HWND document = nullptr;
};

TEST_F(RunControlTest, AtTheDefaultPaceTheStartComesAtTheFifthTickThenAReportEveryFifth) {
    run(document);
    EXPECT_EQ(record(document).stepping, 1);
    EXPECT_EQ(ticksToNextReport(document), 5);
    EXPECT_EQ(lines(record(document).statesLog), std::vector<std::string>{"(a,1)"});
    EXPECT_EQ(ticksToNextReport(document), 5);
    EXPECT_EQ(ticksToNextReport(document), 5);
}

struct Pace {
    UINT command;
    int ticksPerReport;
};

class PaceTest : public RunControlTest, public ::testing::WithParamInterface<Pace> {};

TEST_P(PaceTest, EachSpeedItemReportsAtItsPeriod) {
    HWND walker = openDocument(endlessWalk);
    ASSERT_TRUE(choose(GetParam().command));
    run(walker);
    for (int report = 0; report < 3; ++report) {
        EXPECT_EQ(ticksToNextReport(walker), GetParam().ticksPerReport) << "report " << report;
    }
}

INSTANTIATE_TEST_SUITE_P(SpeedMenu, PaceTest,
                         ::testing::Values(Pace{CMD_SPEED_125MS, 2}, Pace{CMD_SPEED_250MS, 3},
                                           Pace{CMD_SPEED_1S, 9}, Pace{CMD_SPEED_2S, 17},
                                           Pace{CMD_SPEED_3S, 25}));

TEST_F(RunControlTest, AFasterPaceIsDueAtTheNextTickOnceATickHasPassed) {
    HWND walker = openDocument(endlessWalk);
    ASSERT_TRUE(choose(CMD_SPEED_3S));
    run(walker);
    ASSERT_EQ(ticksToNextReport(walker), 25);
    win32test::advanceClock(tick);
    ASSERT_TRUE(choose(CMD_SPEED_125MS));
    EXPECT_EQ(ticksToNextReport(walker), 1);
    EXPECT_EQ(ticksToNextReport(walker), 2);
    EXPECT_EQ(ticksToNextReport(walker), 2);
}

TEST_F(RunControlTest, TheWorkedExampleFillsTheLogsLineForLine) {
    run(document);
    win32test::advanceClock(30 * tick);
    const DocumentData& data = record(document);
    EXPECT_EQ(data.stepping, 0);
    EXPECT_EQ(lines(data.statesLog),
              (std::vector<std::string>{"(a,1)", "(a,1,a,0,R)", "(a,1,a,0,R)", "(a,^,h,^,0)",
                                        "Finished!"}));
    const std::vector<win32test::ListItem> tape = win32test::listItems(data.tapeLog);
    const std::vector<std::pair<std::string, LPARAM>> expected{{blanksAfter("^^11"), 2},
                                                               {blanksAfter("^^01"), 3},
                                                               {blanksAfter("^^00"), 4},
                                                               {blanksAfter("^^00"), 4},
                                                               {"Finished!", -1}};
    ASSERT_EQ(tape.size(), expected.size());
    for (std::size_t i = 0; i < tape.size(); ++i) {
        EXPECT_EQ(tape[i].text, expected[i].first) << "line " << i;
        EXPECT_EQ(tape[i].data, expected[i].second) << "line " << i;
    }
    EXPECT_EQ(lines(data.parserLog).back(), "Run complete! 3 steps.");
}

TEST_F(RunControlTest, AFinishedRunStaysStillAndRunStartsItAgain) {
    run(document);
    win32test::advanceClock(30 * tick);
    const DocumentData& data = record(document);
    const std::size_t parserLines = lines(data.parserLog).size();
    win32test::advanceClock(30 * tick);
    EXPECT_EQ(reports(document), 5u);
    EXPECT_EQ(lines(data.parserLog).size(), parserLines);

    run(document);
    EXPECT_TRUE(lines(data.statesLog).empty());
    EXPECT_TRUE(lines(data.tapeLog).empty());
    EXPECT_GT(lines(data.parserLog).size(), parserLines);
    EXPECT_EQ(ticksToNextReport(document), 5);
    EXPECT_EQ(lines(data.statesLog), std::vector<std::string>{"(a,1)"});
}

TEST_F(RunControlTest, StopHaltsAndRunStartsAgainFromTheDescription) {
    run(document);
    win32test::advanceClock(10 * tick);
    ASSERT_EQ(reports(document), 2u);
    SendMessageA(document, CMD_STOP, 0, 0);
    win32test::advanceClock(20 * tick);
    EXPECT_EQ(reports(document), 2u);
    EXPECT_EQ(record(document).stepping, 0);

    run(document);
    win32test::advanceClock(5 * tick);
    EXPECT_EQ(lines(record(document).statesLog), std::vector<std::string>{"(a,1)"});
    EXPECT_EQ(lines(record(document).tapeLog), std::vector<std::string>{blanksAfter("^^11")});
}

TEST_F(RunControlTest, AnEmptyEditorShowsTheErrorBoxAndKeepsTheLogs) {
    run(document);
    win32test::advanceClock(10 * tick);
    const DocumentData& data = record(document);
    const std::vector<std::string> states = lines(data.statesLog);
    const std::size_t parserLines = lines(data.parserLog).size();
    SetWindowTextA(data.editor, "");

    win32test::answerNextMessageBoxWith(IDOK);
    run(document);
    ASSERT_EQ(win32test::messageBoxesShown().size(), 1u);
    const win32test::MessageBoxShown& box = win32test::messageBoxesShown().front();
    EXPECT_EQ(box.owner, document);
    EXPECT_EQ(box.text, "Unable to run\nErrors in turing machine");
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(lines(data.statesLog), states);
    EXPECT_GT(lines(data.parserLog).size(), parserLines);
}

TEST_F(RunControlTest, RunsGoOnBehindTheErrorBox) {
    HWND walker = openDocument(endlessWalk);
    run(walker);
    run(document);
    SetWindowTextA(record(document).editor, "tape(1)\r\nnonsense\r\n");
    std::size_t walkerReportsWhileOpen = 0;
    std::size_t documentReportsWhileOpen = 0;
    win32test::scriptNextMessageBox([&] {
        const std::size_t walkerBefore = reports(walker);
        const std::size_t documentBefore = reports(document);
        win32test::advanceClock(10 * tick);
        walkerReportsWhileOpen = reports(walker) - walkerBefore;
        documentReportsWhileOpen = reports(document) - documentBefore;
        return IDOK;
    });
    run(document);
    EXPECT_EQ(walkerReportsWhileOpen, 2u);
    // The failed Run leaves the document's own run going.
    EXPECT_EQ(documentReportsWhileOpen, 2u);
    EXPECT_EQ(record(document).stepping, 1);
}

TEST_F(RunControlTest, AFailedParseDuringARunGoesOnWithTheChangedMachine) {
    run(document);
    win32test::advanceClock(5 * tick);
    // Rejected as a whole for its bad line, but its new rule is kept, newest first.
    SetWindowTextA(record(document).editor, "(a,1,h,7,R)\r\nnonsense\r\n");
    win32test::answerNextMessageBoxWith(IDOK);
    run(document);
    win32test::advanceClock(5 * tick);
    EXPECT_EQ(lines(record(document).statesLog),
              (std::vector<std::string>{"(a,1)", "(a,1,h,7,R)", "Finished!"}));
}

TEST_F(RunControlTest, TwoDocumentsStepIndependentlyAndStopOneAtATime) {
    HWND first = openDocument(endlessWalk);
    HWND second = openDocument(endlessWalk);
    run(first);
    win32test::advanceClock(2 * tick);
    run(second);
    win32test::advanceClock(10 * tick);
    EXPECT_EQ(reports(first), 2u);
    EXPECT_EQ(reports(second), 2u);
    SendMessageA(first, CMD_STOP, 0, 0);
    win32test::advanceClock(10 * tick);
    EXPECT_EQ(reports(first), 2u);
    EXPECT_EQ(reports(second), 4u);
}

TEST_F(RunControlTest, TheFourStateBusyBeaverEndsWithItsKnownTape) {
    std::ifstream file(EXAMPLES_DIR "/busy_beaver_4.txt", std::ios::binary);
    ASSERT_TRUE(file);
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    HWND beaver = openDocument(text.c_str());
    ASSERT_TRUE(choose(CMD_SPEED_125MS));
    run(beaver);
    win32test::advanceClock(2 * 110 * tick);
    const DocumentData& data = record(beaver);
    EXPECT_EQ(data.stepping, 0);
    EXPECT_EQ(lines(data.parserLog).back(), "Run complete! 107 steps.");
    std::string cells(200, '\0');
    data.runner->readWindow(-100, 200, cells.data());
    const auto first = cells.find_first_not_of('^');
    const auto last = cells.find_last_not_of('^');
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(cells.substr(first, last - first + 1), "1^111111111111");
}

TEST_F(RunControlTest, ClosingRunningDocumentsLetsNoTickReachThem) {
    HWND other = openDocument(endlessWalk);
    HWND active = openDocument(endlessWalk);
    run(other);
    run(active);
    win32test::advanceClock(10 * tick);
    ASSERT_TRUE(choose(CMD_CLOSE));
    EXPECT_FALSE(IsWindow(active));
    win32test::advanceClock(10 * tick);
    EXPECT_EQ(reports(other), 4u);
    ASSERT_TRUE(choose(CMD_EXIT));
    win32test::advanceClock(10 * tick);
    EXPECT_FALSE(IsWindow(frame));
}

TEST_F(RunControlTest, TwentyDocumentsStepForAnHourEachInItsOwnLogs) {
    ASSERT_TRUE(choose(CMD_SPEED_125MS));
    std::vector<HWND> walkers;
    for (int i = 0; i < 20; ++i) {
        walkers.push_back(openDocument(endlessWalk));
        run(walkers.back());
        win32test::advanceClock(tick);
    }
    win32test::advanceClock(3600 * 1000);
    // A report every second tick, counted from each document's own Run.
    for (std::size_t i = 0; i < walkers.size(); ++i) {
        const std::size_t ticks = 3600 * 8 + walkers.size() - i;
        const DocumentData& data = record(walkers[i]);
        EXPECT_EQ(SendMessageA(data.statesLog, LB_GETCOUNT, 0, 0), ticks / 2) << "document " << i;
        EXPECT_EQ(SendMessageA(data.tapeLog, LB_GETCOUNT, 0, 0), ticks / 2) << "document " << i;
    }
}

}  // namespace
