#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "workbench_fixture.h"

namespace {

using AboutBoxTest = WorkbenchTest;

// Other commands keep the box open until it is closed; the frame stays as it was.
TEST_F(AboutBoxTest, OpensFromHelpWithTheFocusOnOkAndLeavesTheFrameAsItWas) {
    HWND document = newDocument();
    const RECT frameRect = win32test::windowRect(frame);
    HWND focused = nullptr;
    HWND okButton = nullptr;
    win32test::scriptNextDialog([&](HWND dialog) {
        focused = GetFocus();
        okButton = GetDlgItem(dialog, IDOK);
        SendMessageA(dialog, WM_COMMAND, 3, 0);
    });
    win32test::answerNextDialogWith(win32test::DialogAnswer::Escape);
    ASSERT_TRUE(choose(CMD_ABOUT));
    ASSERT_NE(okButton, nullptr);
    EXPECT_EQ(focused, okButton);
    EXPECT_EQ(win32test::dialogsShown(), std::vector<std::string>{"About"});
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
    EXPECT_EQ(win32test::topLevelWindows(), std::vector<HWND>{frame});
    EXPECT_EQ(win32test::windowRect(frame).right, frameRect.right);
    EXPECT_EQ(documents(), std::vector<HWND>{document});
    EXPECT_EQ(activeDocument(), document);
    EXPECT_FALSE(win32test::quitPosted());
}

TEST_F(AboutBoxTest, OkEndsItWithIdOkAndEscapeWithIdCancel) {
    for (const auto& [answer, result] : {std::pair{win32test::DialogAnswer::Ok, IDOK},
                                         std::pair{win32test::DialogAnswer::Escape, IDCANCEL}}) {
        win32test::answerNextDialogWith(answer);
        EXPECT_EQ(
            DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), frame, aboutDialogProc, 0),
            result);
    }
}

}  // namespace
