#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "workbench_fixture.h"

namespace {

using FrameTest = WorkbenchTest;

// What each pace means for a run is checked by the run control tests.
TEST_F(FrameTest, StartsEmptyWithHalfASecondCheckedAndEachSpeedTakesTheMark) {
    const UINT speeds[] = {CMD_SPEED_500MS, CMD_SPEED_125MS, CMD_SPEED_250MS,
                           CMD_SPEED_1S,    CMD_SPEED_2S,    CMD_SPEED_3S};
    EXPECT_TRUE(documents().empty());
    for (UINT chosen : speeds) {
        SCOPED_TRACE(chosen);
        if (chosen != speeds[0]) {
            ASSERT_TRUE(choose(chosen));
        }
        for (UINT speed : speeds) {
            EXPECT_EQ(win32test::menuItemChecked(frame, speed), speed == chosen) << speed;
        }
    }
}

// Without a document every document command must vanish silently: no window,
// no dialog, no change to the frame.
TEST_F(FrameTest, WithoutADocumentDocumentCommandsDoNothing) {
    const std::vector<HWND> topLevel = win32test::topLevelWindows();
    for (UINT command : {CMD_SAVE, CMD_SAVE_AS, CMD_CLOSE, CMD_UNDO, CMD_CUT, CMD_COPY, CMD_PASTE,
                         CMD_DELETE, CMD_RUN, CMD_STOP, CMD_SAVE_OUTPUT}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(choose(command));
        EXPECT_TRUE(documents().empty());
        EXPECT_EQ(win32test::topLevelWindows(), topLevel);
        EXPECT_TRUE(win32test::dialogsShown().empty());
        EXPECT_FALSE(win32test::quitPosted());
    }
}

// Documents that record what they receive: the frame sends a document command
// to the active document, to that one only.
std::vector<std::pair<HWND, UINT>> received;

LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.emplace_back(window, message);
    return DefMDIChildProcA(window, message, wParam, lParam);
}

// Close takes the active document away, Exit the frame and the program.
TEST_F(FrameTest, ADocumentCommandReachesOnlyTheActiveDocument) {
    WNDCLASSA recorderClass{};
    recorderClass.lpfnWndProc = recordingProc;
    recorderClass.hInstance = appInstance;
    recorderClass.lpszClassName = "RECORDER";
    ASSERT_NE(RegisterClassA(&recorderClass), 0);
    HWND recorders[2] = {};
    for (HWND& recorder : recorders) {
        recorder = CreateWindowExA(WS_EX_MDICHILD, "RECORDER", "Recorder", WS_VISIBLE, 0, 0, 100,
                                   100, mdiClient, nullptr, appInstance, nullptr);
    }
    HWND active = recorders[1];
    ASSERT_EQ(activeDocument(), active);
    received.clear();
    ASSERT_TRUE(choose(CMD_CUT));
    EXPECT_EQ(std::count(received.begin(), received.end(), std::pair{active, UINT{WM_CUT}}), 1);
    EXPECT_EQ(std::count(received.begin(), received.end(), std::pair{recorders[0], UINT{WM_CUT}}),
              0);
    ASSERT_TRUE(choose(CMD_CLOSE));
    EXPECT_EQ(documents(), std::vector<HWND>{recorders[0]});
    EXPECT_TRUE(win32test::dialogsShown().empty());
    ASSERT_TRUE(choose(CMD_EXIT));
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_TRUE(win32test::quitPosted());
    EXPECT_EQ(win32test::quitCode(), 0);
}

// Help > About shows the box over the frame until it is answered.
TEST_F(FrameTest, HelpAboutShowsTheBox) {
    win32test::answerNextDialogWith(win32test::DialogAnswer::Ok);
    ASSERT_TRUE(choose(CMD_ABOUT));
    EXPECT_EQ(win32test::dialogsShown(), std::vector<std::string>{"About"});
    EXPECT_EQ(win32test::topLevelWindows(), std::vector<HWND>{frame});
}

}  // namespace
