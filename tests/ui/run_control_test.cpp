#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <algorithm>
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
        document = openDocument(workedExample.c_str());
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

// Run starts again from the description, whether the machine was stopped or finished.
TEST_F(RunControlTest, StopAndTheEndHaltTheRunAndRunStartsItAgain) {
    const DocumentData& data = dataOf(document);
    run(document);
    win32test::advanceClock(2 * reportPeriod);
    ASSERT_EQ(reports(document), 2u);
    SendMessageA(document, CMD_STOP, 0, 0);
    win32test::advanceClock(4 * reportPeriod);
    EXPECT_EQ(reports(document), 2u);

    run(document);
    EXPECT_TRUE(lines(data.statesLog).empty());
    EXPECT_TRUE(lines(data.tapeLog).empty());
    win32test::advanceClock(30 * reportPeriod);
    EXPECT_EQ(data.stepping, 0);
    const std::size_t parserLines = lines(data.parserLog).size();
    win32test::advanceClock(30 * reportPeriod);
    EXPECT_EQ(reports(document), 5u);
    EXPECT_EQ(lines(data.parserLog).size(), parserLines);

    run(document);
    EXPECT_TRUE(lines(data.tapeLog).empty());
    EXPECT_GT(lines(data.parserLog).size(), parserLines);
    EXPECT_EQ(ticksToNextReport(document), 5);
    EXPECT_EQ(lines(data.statesLog), std::vector<std::string>{"(a,1)"});
    EXPECT_EQ(lines(data.tapeLog), std::vector<std::string>{"^^11" + std::string(56, '^')});
}

// A failed Run shows the error box and leaves the logs and the runs as they
// were: the document's own run and the others' go on, also behind the box.
TEST_F(RunControlTest, AFailedRunShowsTheErrorBoxAndRunsGoOnBehindIt) {
    HWND walker = openDocument(endlessWalk);
    run(walker);
    run(document);
    win32test::advanceClock(reportPeriod);
    const DocumentData& data = dataOf(document);
    const std::vector<std::string> states = lines(data.statesLog);
    const std::size_t parserLines = lines(data.parserLog).size();
    SetWindowTextA(data.editor, "");
    std::size_t walkerReportsWhileOpen = 0;
    std::size_t documentReportsWhileOpen = 0;
    win32test::scriptNextMessageBox([&] {
        const std::size_t walkerBefore = reports(walker);
        const std::size_t documentBefore = reports(document);
        win32test::advanceClock(2 * reportPeriod);
        walkerReportsWhileOpen = reports(walker) - walkerBefore;
        documentReportsWhileOpen = reports(document) - documentBefore;
        return IDOK;
    });
    run(document);
    expectErrorBox("Unable to run\nErrors in turing machine");
    EXPECT_EQ(win32test::messageBoxesShown().front().owner, document);
    EXPECT_GT(lines(data.parserLog).size(), parserLines);
    EXPECT_EQ(walkerReportsWhileOpen, 2u);
    EXPECT_EQ(documentReportsWhileOpen, 2u);
    const std::vector<std::string> after = lines(data.statesLog);
    ASSERT_EQ(after.size(), states.size() + 2);
    EXPECT_TRUE(std::equal(states.begin(), states.end(), after.begin()));
}

TEST_F(RunControlTest, ClosingRunningDocumentsLetsNoTickReachThem) {
    HWND other = openDocument(endlessWalk);
    HWND active = openDocument(endlessWalk);
    run(other);
    run(active);
    win32test::advanceClock(2 * reportPeriod);
    ASSERT_TRUE(choose(CMD_CLOSE));
    EXPECT_FALSE(IsWindow(active));
    win32test::advanceClock(2 * reportPeriod);
    EXPECT_EQ(reports(other), 4u);
    ASSERT_TRUE(choose(CMD_EXIT));
    win32test::advanceClock(2 * reportPeriod);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(other));
    EXPECT_TRUE(win32test::quitPosted());
    EXPECT_EQ(win32test::quitCode(), 0);
}

}  // namespace
