#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "workbench_fixture.h"

namespace {

using AboutBoxTest = WorkbenchTest;

// Help > About opens the box over the frame; other commands (3 here) keep it
// open, and Ok ends it with IDOK, Escape with IDCANCEL.
TEST_F(AboutBoxTest, OpensFromHelpAndOnlyOkOrEscapeEndIt) {
    win32test::scriptNextDialog([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, 3, 0); });
    win32test::answerNextDialogWith(win32test::DialogAnswer::Escape);
    ASSERT_TRUE(choose(CMD_ABOUT));
    EXPECT_EQ(win32test::dialogsShown(), std::vector<std::string>{"About"});
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
    EXPECT_EQ(win32test::topLevelWindows(), std::vector<HWND>{frame});
    for (const auto& [answer, result] : {std::pair{win32test::DialogAnswer::Ok, IDOK},
                                         std::pair{win32test::DialogAnswer::Escape, IDCANCEL}}) {
        win32test::answerNextDialogWith(answer);
        EXPECT_EQ(
            DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), frame, aboutDialogProc, 0),
            result);
    }
}

}  // namespace
