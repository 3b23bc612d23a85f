#include <string>

#include "platform_test.h"

namespace {

constexpr DWORD kEditorStyle =
    0x50B01004;  // child, visible, border, both scroll bars, multi-line, want return

class EditControl : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
        parent = createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        edit = CreateWindowExA(0, "EDIT", nullptr, kEditorStyle, 0, 0, 300, 200, parent, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
        received.clear();
    }
    std::string text() const { return win32test::windowText(edit); }
    int changes() const {
        int count = 0;
        for (const ReceivedMessage& each : received) {
            if (each.message == WM_COMMAND && HIWORD(each.wParam) == EN_CHANGE)
                ++count;
        }
        return count;
    }
    HWND parent = nullptr;
    HWND edit = nullptr;
};

TEST_F(EditControl, LineBreaksReadBackAsCrLf) {
    SetWindowTextA(edit, "a\r\nb");
    EXPECT_EQ(GetWindowTextLengthA(edit), 4);
    EXPECT_EQ(text(), "a\r\nb");
    // A knowing difference from Win32: bare LF and CR are line breaks here.
    SetWindowTextA(edit, "a\nb\rc\r\r\nd");
    EXPECT_EQ(text(), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(GetWindowTextLengthA(edit), 10);
    EXPECT_EQ(changes(), 0);
}

TEST_F(EditControl, EveryOtherByteGoesThroughUnchanged) {
    std::string all;
    for (int byte = 1; byte <= 255; ++byte) {
        if (byte != '\r' && byte != '\n')
            all += static_cast<char>(byte);
    }
    SetWindowTextA(edit, all.c_str());
    EXPECT_EQ(text(), all);
}

TEST_F(EditControl, TypingNotifiesTheParentAndUndoTakesItBack) {
    SetWindowTextA(edit, "");
    EXPECT_EQ(SendMessageA(edit, EM_UNDO, 0, 0), 1);
    ASSERT_TRUE(win32test::typeText(edit, "q0\n1"));
    EXPECT_EQ(text(), "q0\r\n1");
    EXPECT_GT(changes(), 0);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    while (SendMessageA(edit, EM_CANUNDO, 0, 0)) SendMessageA(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(text(), "");
}

TEST_F(EditControl, CutPasteAndClearWorkOnTheSelection) {
    SetWindowTextA(edit, "one\r\ntwo");
    SendMessageA(edit, EM_SETSEL, 5, 8);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 8u);
    SendMessageA(edit, WM_CUT, 0, 0);
    EXPECT_EQ(text(), "one\r\n");
    SendMessageA(edit, EM_SETSEL, 0, 0);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(text(), "twoone\r\n");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(text(), "");
}

TEST_F(EditControl, ReplacingTheSelectionInsertsText) {
    SetWindowTextA(edit, "ab");
    SendMessageA(edit, EM_SETSEL, 1, 1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("x\r\ny"));
    EXPECT_EQ(text(), "ax\r\nyb");
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 2);
}

// The default EDIT style: one line, the Enter key taken by no one.
TEST_F(EditControl, ASingleLineEditKeepsOneLineAndEditsItsSelection) {
    HWND line = CreateWindowExA(0, "EDIT", "tape(1)", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 220,
                                300, 24, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(win32test::windowText(line), "tape(1)");
    EXPECT_EQ(SendMessageA(line, EM_GETLINECOUNT, 0, 0), 1);
    SendMessageA(line, EM_SETSEL, 0, 4);
    SendMessageA(line, WM_CUT, 0, 0);
    EXPECT_EQ(win32test::windowText(line), "(1)");
    SendMessageA(line, EM_SETSEL, 3, 3);
    SendMessageA(line, WM_PASTE, 0, 0);
    EXPECT_EQ(win32test::windowText(line), "(1)tape");
    received.clear();
    ASSERT_TRUE(win32test::typeText(line, "x\ny"));
    EXPECT_EQ(win32test::windowText(line), "(1)tapexy");
    EXPECT_GT(changes(), 0);
    EXPECT_EQ(SendMessageA(line, EM_GETLINECOUNT, 0, 0), 1);
}

}  // namespace
