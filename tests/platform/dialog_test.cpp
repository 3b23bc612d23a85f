#include <algorithm>

#include "platform_test.h"
#include "stand_in_ids.h"

namespace {

struct DialogLog {
    std::vector<UINT> messages;
    LPARAM initParam = 0;
    HWND dialog = nullptr;
};
DialogLog dialogLog;

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    dialogLog.messages.push_back(message);
    switch (message) {
        case WM_INITDIALOG:
            dialogLog.initParam = lParam;
            dialogLog.dialog = dialog;
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
                EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        default:
            return FALSE;
    }
}

class Dialogs : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
        owner = createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        dialogLog = {};
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
        EXPECT_FALSE(IsWindow(dialogLog.dialog));
        EXPECT_TRUE(IsWindowEnabled(owner));
    }
    EXPECT_EQ(win32test::dialogAnswersLeft(), 0);
    EXPECT_EQ(win32test::dialogsShown(), (std::vector<std::string>(4, "About")));
}

TEST_F(Dialogs, TheDialogIsBuiltFromItsTemplateBeforeInitDialog) {
    struct Seen {
        std::string caption;
        std::string okText;
        RECT ok;
        RECT client;
        bool ownerEnabled;
        bool hasFocus;
    } seen{};
    win32test::scriptNextDialog([&](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        seen = {win32test::windowText(dialog),   win32test::windowText(ok),
                win32test::windowRect(ok),       win32test::clientRect(dialog),
                IsWindowEnabled(owner) != FALSE, GetFocus() == ok};
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(showAbout(), IDOK);
    EXPECT_EQ(dialogLog.initParam, 77);
    EXPECT_EQ(seen.caption, "About");
    EXPECT_EQ(seen.okText, "OK");
    EXPECT_FALSE(seen.ownerEnabled);
    EXPECT_TRUE(seen.hasFocus);
    // Positions scale with dialog units: the button 165 units in, 50 wide, of a 223-unit dialog.
    const double scale = static_cast<double>(seen.client.right) / 223;
    EXPECT_NEAR(seen.ok.left, 165 * scale, 2);
    EXPECT_NEAR(seen.ok.right - seen.ok.left, 50 * scale, 2);
    EXPECT_GT(seen.client.bottom, 53);
    EXPECT_LT(std::find(dialogLog.messages.begin(), dialogLog.messages.end(),
                        static_cast<UINT>(WM_SETFONT)),
              std::find(dialogLog.messages.begin(), dialogLog.messages.end(),
                        static_cast<UINT>(WM_INITDIALOG)));
}

TEST_F(Dialogs, AnUnknownTemplateFailsWithoutShowingAnything) {
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(4242), owner, aboutProc, 0), -1);
    EXPECT_TRUE(dialogLog.messages.empty());
    EXPECT_TRUE(win32test::dialogsShown().empty());
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
