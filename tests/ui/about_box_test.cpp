#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "workbench_fixture.h"

namespace {

struct Closing {
    const char* name;
    win32test::DialogAnswer answer;
    INT_PTR result;
};

void PrintTo(const Closing& closing, std::ostream* out) {
    *out << closing.name;
}

class AboutBoxTest : public WorkbenchTest, public ::testing::WithParamInterface<Closing> {};

TEST_P(AboutBoxTest, ClosesAndLeavesTheFrameAsItWas) {
    HWND document = newDocument();
    choose(CMD_SPEED_1S);
    const RECT frameRect = win32test::windowRect(frame);
    win32test::answerNextDialogWith(GetParam().answer);
    ASSERT_TRUE(choose(CMD_ABOUT));
    EXPECT_EQ(win32test::dialogsShown(), std::vector<std::string>{"About"});
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ(win32test::topLevelWindows(), std::vector<HWND>{frame});
    EXPECT_EQ(win32test::windowText(frame), "ZARN Turing Machine");
    EXPECT_EQ(win32test::windowRect(frame).right, frameRect.right);
    EXPECT_EQ(documents(), std::vector<HWND>{document});
    EXPECT_EQ(activeDocument(), document);
    EXPECT_EQ(speedTicks, 8);
    EXPECT_FALSE(win32test::quitPosted());
}

TEST_P(AboutBoxTest, EndsWithTheIdOfTheWayItWasClosed) {
    win32test::answerNextDialogWith(GetParam().answer);
    const INT_PTR result =
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), frame, aboutDialogProc, 0);
    EXPECT_EQ(result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    FourWays, AboutBoxTest,
    ::testing::Values(Closing{"Ok", win32test::DialogAnswer::Ok, IDOK},
                      Closing{"Enter", win32test::DialogAnswer::Enter, IDOK},
                      Closing{"Escape", win32test::DialogAnswer::Escape, IDCANCEL},
                      Closing{"CloseBox", win32test::DialogAnswer::CloseBox, IDCANCEL}),
    [](const ::testing::TestParamInfo<Closing>& info) { return info.param.name; });

using AboutBoxContentTest = WorkbenchTest;

TEST_F(AboutBoxContentTest, OpensWithTheFocusOnOk) {
    HWND focused = nullptr;
    HWND okButton = nullptr;
    win32test::scriptNextDialog([&](HWND dialog) {
        focused = GetFocus();
        okButton = GetDlgItem(dialog, IDOK);
        EndDialog(dialog, IDOK);
    });
    choose(CMD_ABOUT);
    ASSERT_NE(okButton, nullptr);
    EXPECT_EQ(focused, okButton);
}

TEST_F(AboutBoxContentTest, OtherCommandsKeepItOpen) {
    win32test::scriptNextDialog([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, 3, 0); });
    win32test::answerNextDialogWith(win32test::DialogAnswer::Escape);
    const INT_PTR result =
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), frame, aboutDialogProc, 0);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
}

}  // namespace
