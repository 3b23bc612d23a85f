#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui/document_window.h"
#include "workbench_fixture.h"

namespace {

// Walks right over blanks for ever.
const char* const endlessWalk =
    "tape(.1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,^,R)\r\n";

class RunControlTest : public WorkbenchTest {
protected:
    void SetUp() override {
        WorkbenchTest::SetUp();
        document =
            openDocument("tape(.11)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,0,R)\r\n(a,^,h,^,N)\r\n");
    }

    HWND openDocument(const char* text) {
        HWND opened = newDocument();
        SetWindowTextA(dataOf(opened).editor, text);
        return opened;
    }

    static std::size_t reports(HWND window) { return lines(dataOf(window).statesLog).size(); }

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

// The start configuration comes one period after Run, then a step every period.
TEST_F(RunControlTest, EachSpeedItemReportsAtItsPeriod) {
    const struct {
        UINT command;
        int ticksPerReport;
    } paces[] = {{0, 5},
                 {CMD_SPEED_125MS, 2},
                 {CMD_SPEED_250MS, 3},
                 {CMD_SPEED_1S, 9},
                 {CMD_SPEED_2S, 17},
                 {CMD_SPEED_3S, 25}};
    for (const auto& pace : paces) {
        SCOPED_TRACE(pace.ticksPerReport);
        HWND walker = openDocument(endlessWalk);
        if (pace.command != 0) {
            ASSERT_TRUE(choose(pace.command));
        }
        run(walker);
        for (int report = 0; report < 3; ++report) {
            EXPECT_EQ(ticksToNextReport(walker), pace.ticksPerReport) << "report " << report;
        }
        SendMessageA(walker, CMD_STOP, 0, 0);
    }
}

// Run starts again from the description, whether the machine was stopped or
// finished, with empty logs.
TEST_F(RunControlTest, StopAndTheEndHaltTheRunAndRunStartsItAgain) {
    const DocumentData& data = dataOf(document);
    run(document);
    win32test::advanceClock(2 * reportPeriod);
    SendMessageA(document, CMD_STOP, 0, 0);
    win32test::advanceClock(4 * reportPeriod);
    EXPECT_EQ(reports(document), 2u);
    for (int again = 0; again < 2; ++again) {
        run(document);
        EXPECT_EQ(ticksToNextReport(document), 5);
        EXPECT_EQ(lines(data.tapeLog), std::vector<std::string>{"^^11" + std::string(56, '^')});
        win32test::advanceClock(60 * reportPeriod);
        EXPECT_EQ(reports(document), 5u);
    }
}

// A failed Run shows the error box and leaves the logs and the run as they
// were: the run goes on, also behind the box.
TEST_F(RunControlTest, AFailedRunShowsTheErrorBoxAndTheRunGoesOnBehindIt) {
    const DocumentData& data = dataOf(document);
    run(document);
    win32test::advanceClock(reportPeriod);
    const std::size_t parserLines = lines(data.parserLog).size();
    SetWindowTextA(data.editor, "");
    win32test::scriptNextMessageBox([] {
        win32test::advanceClock(2 * reportPeriod);
        return IDOK;
    });
    run(document);
    expectErrorBox("Unable to run\nErrors in turing machine");
    EXPECT_EQ(win32test::messageBoxesShown().front().owner, document);
    EXPECT_GT(lines(data.parserLog).size(), parserLines);
    EXPECT_EQ(reports(document), 3u);
}

// A full log would lose every later step: the run stops and says so.
TEST_F(RunControlTest, ARunWhoseTapeLogIsFullStopsAndSaysSo) {
    HWND walker = openDocument(endlessWalk);
    const DocumentData& data = dataOf(walker);
    interception::install(data.tapeLog, LB_INSERTSTRING, 3, LB_ERRSPACE);
    run(walker);
    win32test::advanceClock(8 * reportPeriod);
    EXPECT_EQ(reports(walker), 4u);
    EXPECT_EQ(lines(data.parserLog).back(), "Run stopped: the Tape log is full.");
    EXPECT_EQ(interception::negativeMarks, 0);
    const std::vector<win32test::ListItem> tape = win32test::listItems(data.tapeLog);
    ASSERT_EQ(tape.size(), 3u);
    EXPECT_EQ(tape[2].data, 4);
}

}  // namespace
