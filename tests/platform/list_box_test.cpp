#include <cstring>
#include <string>

#include "platform_test.h"

namespace {

constexpr DWORD kLogListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                                LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;
constexpr int kItemHeight = 20;

bool destroyWhileDrawing = false;

// Draws each line's text.
LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kItemHeight;
        return TRUE;
    }
    if (message != WM_DRAWITEM)
        return DefWindowProcA(window, message, wParam, lParam);
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw->itemID == static_cast<UINT>(-1))
        return FALSE;
    if (destroyWhileDrawing) {
        DestroyWindow(draw->hwndItem);
        return TRUE;
    }
    if (draw->itemAction != ODA_DRAWENTIRE && draw->itemAction != ODA_SELECT)
        return TRUE;
    const LRESULT length = SendMessageA(draw->hwndItem, LB_GETTEXTLEN, draw->itemID, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(draw->hwndItem, LB_GETTEXT, draw->itemID, reinterpret_cast<LPARAM>(text.data()));
    TEXTMETRICA metrics{};
    GetTextMetricsA(draw->hDC, &metrics);
    TextOutA(draw->hDC, 6, (draw->rcItem.top + draw->rcItem.bottom - metrics.tmHeight) / 2,
             text.c_str(), static_cast<int>(length));
    return TRUE;
}

class ListBox : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        destroyWhileDrawing = false;
        WNDCLASSA ownerClass{};
        ownerClass.lpfnWndProc = ownerProc;
        ownerClass.lpszClassName = "OWNER";
        ASSERT_NE(RegisterClassA(&ownerClass), 0);
        top =
            conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
        owner = CreateWindowExA(0, "OWNER", "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, top, nullptr,
                                nullptr, nullptr);
        list = CreateWindowExA(0, "LISTBOX", nullptr, kLogListStyle, 0, 0, 280, 102, owner, nullptr,
                               nullptr, nullptr);
        ASSERT_NE(list, nullptr);
        font = CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           FIXED_PITCH | FF_ROMAN, nullptr);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    void TearDown() override {
        PlatformTest::TearDown();
        DeleteObject(font);
    }
    int append(const char* text) {
        const auto index = static_cast<int>(SendMessageA(list, LB_INSERTSTRING,
                                                         SendMessageA(list, LB_GETCOUNT, 0, 0),
                                                         reinterpret_cast<LPARAM>(text)));
        SendMessageA(list, LB_SETITEMDATA, index, -1);
        SendMessageA(list, LB_SETCURSEL, index, 0);
        return index;
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
    HFONT font = nullptr;
};

TEST_F(ListBox, OnlyTheVisibleItemsOfAMillionAreDrawn) {
    constexpr int kLines = 1000000;
    for (int i = 0; i < kLines; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x"));
    SendMessageA(list, LB_SETCURSEL, kLines - 1, 0);
    const std::vector<win32test::DrawCall> calls = paintAndRecord();
    const int visible = win32test::listVisibleItemCount(list);
    EXPECT_EQ(visible, 5);
    int drawnEntire = 0;
    for (const win32test::DrawCall& call : calls) {
        if (call.itemAction == ODA_DRAWENTIRE)
            ++drawnEntire;
        EXPECT_GE(call.itemID, static_cast<UINT>(kLines - visible));
    }
    EXPECT_EQ(drawnEntire, visible);
}

TEST_F(ListBox, ClicksAndArrowKeysMoveTheSelectionAndTheFocus) {
    for (int i = 0; i < 8; ++i) append("line");
    SendMessageA(list, LB_SETTOPINDEX, 0, 0);
    ASSERT_TRUE(win32test::clickAt(list, 10, 2 * kItemHeight + 5));
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
    for (int i = 0; i < 5; ++i) append("line");
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
    for (int i = 0; i < 10; ++i) append("hidden");
    EXPECT_TRUE(paintAndRecord().empty());
    ShowWindow(list, SW_SHOW);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 10);
    EXPECT_EQ(win32test::listTopIndex(list), 10 - win32test::clientRect(list).bottom / kItemHeight);
    EXPECT_FALSE(paintAndRecord().empty());
}

}  // namespace
