#include "platform_test.h"

namespace {

constexpr DWORD logListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                               LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;
constexpr int lineHeight = 20;

class ListBox : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        // The owner sets the line height and, when told to, destroys the list as it draws.
        conformance::answer = [this](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
            if (message == WM_MEASUREITEM) {
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = lineHeight;
            } else if (message == WM_DRAWITEM && destroyWhileDrawing) {
                DestroyWindow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem);
            }
            result = TRUE;
            return message == WM_MEASUREITEM || message == WM_DRAWITEM;
        };
        top =
            conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        owner = conformance::createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 300, 200);
        list = CreateWindowExA(0, "LISTBOX", nullptr, logListStyle, 0, 0, 280, 102, owner, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(list, nullptr);
    }
    // As a log adds a line: at the end, selected.
    void append(const char* text) {
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        SendMessageA(list, LB_INSERTSTRING, count, reinterpret_cast<LPARAM>(text));
        SendMessageA(list, LB_SETCURSEL, count, 0);
    }
    std::vector<win32test::DrawCall> paintAndRecord() {
        win32test::processPendingMessages();
        win32test::clearDrawCalls();
        win32test::paint(list);
        return win32test::drawCalls();
    }
    HWND top = nullptr;
    HWND owner = nullptr;
    HWND list = nullptr;
    bool destroyWhileDrawing = false;
};

TEST_F(ListBox, OnlyTheVisibleItemsOfAMillionAreDrawn) {
    constexpr int lineCount = 1000000;
    for (int i = 0; i < lineCount; ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
    }
    SendMessageA(list, LB_SETCURSEL, lineCount - 1, 0);
    const std::vector<win32test::DrawCall> calls = paintAndRecord();
    const int visible = win32test::listVisibleItemCount(list);
    EXPECT_EQ(visible, 5);
    int drawnEntire = 0;
    for (const win32test::DrawCall& call : calls) {
        if (call.itemAction == ODA_DRAWENTIRE) {
            ++drawnEntire;
        }
        EXPECT_GE(call.itemID, static_cast<UINT>(lineCount - visible));
    }
    EXPECT_EQ(drawnEntire, visible);
}

TEST_F(ListBox, ClicksAndArrowKeysMoveTheSelectionAndTheFocus) {
    for (int i = 0; i < 8; ++i) {
        append("line");
    }
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    ASSERT_TRUE(win32test::clickAt(list, 10, 2 * lineHeight + 5));
    EXPECT_EQ(win32test::listSelectedIndex(list), 2);
    EXPECT_EQ(GetFocus(), list);
    win32test::pressKey(list, VK_DOWN);
    EXPECT_EQ(win32test::listSelectedIndex(list), 3);
    win32test::pressKey(list, VK_END);
    EXPECT_EQ(win32test::listSelectedIndex(list), 7);
    EXPECT_EQ(win32test::listTopIndex(list), 3);
    const std::vector<win32test::DrawCall> calls = paintAndRecord();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
}

TEST_F(ListBox, AnOwnerMayDestroyTheListWhileItDraws) {
    for (int i = 0; i < 5; ++i) {
        append("line");
    }
    win32test::processPendingMessages();
    win32test::clearDrawCalls();
    destroyWhileDrawing = true;
    win32test::paint(list);
    EXPECT_EQ(win32test::drawCalls().size(), 1u);
    EXPECT_FALSE(IsWindow(list));
    win32test::processPendingMessages();
}

TEST_F(ListBox, LinesAddedWhileHiddenAreAllThereWhenShown) {
    ShowWindow(list, SW_HIDE);
    for (int i = 0; i < 10; ++i) {
        append("hidden");
    }
    EXPECT_TRUE(paintAndRecord().empty());
    ShowWindow(list, SW_SHOW);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(win32test::listTopIndex(list), 10 - win32test::clientRect(list).bottom / lineHeight);
    EXPECT_FALSE(paintAndRecord().empty());
}

}  // namespace
