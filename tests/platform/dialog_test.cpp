#include "platform_test.h"
#include "stand_in_ids.h"

namespace {

HWND shownDialog = nullptr;

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            shownDialog = dialog;
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        default:
            return FALSE;
    }
}

class Dialogs : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        owner =
            conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100);
        shownDialog = nullptr;
    }
    INT_PTR showAbout() {
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_ABOUT), owner,
                               aboutProc, 77);
    }
    HWND owner = nullptr;
};

TEST_F(Dialogs, TheAboutBoxClosesOnOkEnterEscapeAndItsCloseBox) {
    const struct {
        win32test::DialogAnswer answer;
        INT_PTR result;
    } cases[] = {{win32test::DialogAnswer::Ok, IDOK},
                 {win32test::DialogAnswer::Enter, IDOK},
                 {win32test::DialogAnswer::Escape, IDCANCEL},
                 {win32test::DialogAnswer::CloseBox, IDCANCEL}};
    for (const auto& each : cases) {
        win32test::answerNextDialogWith(each.answer);
        EXPECT_EQ(showAbout(), each.result) << static_cast<int>(each.answer);
        EXPECT_FALSE(IsWindow(shownDialog));
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
    EXPECT_EQ(win32test::dialogsShown(), (std::vector<std::string>(4, "About")));
}

TEST(DialogsWithoutAnswers, AnUnansweredDialogFailsLoudlyInsteadOfHanging) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    win32test::enable();
    EXPECT_DEATH(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_ABOUT),
                                 nullptr, aboutProc, 0),
                 "the modal dialog \"About\" opened with no scripted answer");
    win32test::reset();
}

}  // namespace
