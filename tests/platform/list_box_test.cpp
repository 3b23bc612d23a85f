#include <cstring>
#include <string>

#include "platform_test.h"

namespace {

constexpr DWORD kLogListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                                LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;
constexpr int kItemHeight = 20;

MEASUREITEMSTRUCT measured;
int measureCount = 0;
bool destroyWhileDrawing = false;
std::vector<WPARAM> commands;

// Draws each line's text; keeps the commands its lists send.
LRESULT CALLBACK ownerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND)
        commands.push_back(wParam);
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measured = *measure;
        ++measureCount;
        measure->itemHeight = kItemHeight;
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
        measured = {};
        measureCount = 0;
        destroyWhileDrawing = false;
        commands.clear();
        registerRecorder();
        WNDCLASSA ownerClass{};
        ownerClass.lpfnWndProc = ownerProc;
        ownerClass.lpszClassName = "OWNER";
        ASSERT_NE(RegisterClassA(&ownerClass), 0);
        top = createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300);
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

TEST_F(ListBox, TheOwnerMeasuresOnceAtCreation) {
    EXPECT_EQ(measureCount, 1);
    EXPECT_EQ(measured.CtlType, static_cast<UINT>(ODT_LISTBOX));
    EXPECT_EQ(measured.CtlID, 0u);
    EXPECT_EQ(measured.itemID, 0xFFFFFFFFu);
    EXPECT_EQ(measured.itemHeight, 16u);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), kItemHeight);
    append("one");
    EXPECT_EQ(measureCount, 1);
}

TEST_F(ListBox, LinesKeepTheirTextDataAndOrder) {
    EXPECT_EQ(append("first"), 0);
    EXPECT_EQ(append("second"), 1);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("third")),
              2);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 1, 42), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    char text[16] = {};
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 6);
    EXPECT_STREQ(text, "second");
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), 5);
    const std::vector<win32test::ListItem> items = win32test::listItems(list);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[1].data, 42);
    EXPECT_EQ(items[0].data, -1);
    EXPECT_EQ(items[2].text, "third");
}

TEST_F(ListBox, BadIndexesAnswerLbErr) {
    append("only");
    char text[8] = "keep";
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), LB_ERR);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 5, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 5, reinterpret_cast<LPARAM>("far")), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 3, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 1);
}

TEST_F(ListBox, ResetContentEmptiesTheList) {
    append("a");
    append("b");
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(win32test::listSelectedIndex(list), LB_ERR);
    EXPECT_EQ(win32test::listTopIndex(list), 0);
}

TEST_F(ListBox, SelectingALineScrollsItIntoView) {
    for (int i = 0; i < 30; ++i) append(("line " + std::to_string(i)).c_str());
    EXPECT_EQ(win32test::listSelectedIndex(list), 29);
    const RECT client = win32test::clientRect(list);
    const int fullyVisible = static_cast<int>(client.bottom) / kItemHeight;
    EXPECT_EQ(win32test::listTopIndex(list), 30 - fullyVisible);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(win32test::listTopIndex(list), 2);
    SendMessageA(list, LB_SETCURSEL, 3, 0);
    EXPECT_EQ(win32test::listTopIndex(list), 2);
}

TEST_F(ListBox, ItemsAreDrawnByTheOwnerWithTheirRectangles) {
    win32test::processPendingMessages();
    win32test::clearDrawCalls();
    append("a");
    win32test::processPendingMessages();
    win32test::paint(list);
    const std::vector<win32test::DrawCall> calls = win32test::drawCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].itemAction, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(calls[0].itemState, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(calls[1].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
    EXPECT_EQ(calls[1].itemState, static_cast<UINT>(ODS_SELECTED));
    EXPECT_EQ(calls[1].rcItem, (RECT{0, 0, 278, 20}));
    EXPECT_EQ(calls[1].control, list);
    EXPECT_EQ(calls[1].result, TRUE);
    // A second paint has no selection change left to show.
    const std::vector<win32test::DrawCall> again = paintAndRecord();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
}

TEST_F(ListBox, DeletingALineMovesTheLaterOnesUpAndTheSelectionWithThem) {
    for (const char* line : {"zero", "one", "two", "three"}) append(line);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(win32test::listSelectedIndex(list), 1);
    EXPECT_EQ(win32test::listItems(list).at(1).text, "two");
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 1, 0), 2);
    EXPECT_EQ(win32test::listSelectedIndex(list), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 2, 0), LB_ERR);
    EXPECT_EQ(win32test::listItems(list).at(1).text, "three");
}

// Only the user's choice is told, and only to an owner that asked with LBS_NOTIFY.
TEST_F(ListBox, AClickOrKeyTellsTheOwnerOfTheNewSelectionWhenAskedTo) {
    constexpr int kId = 7;
    HWND notifying = CreateWindowExA(0, "LISTBOX", nullptr, kLogListStyle | LBS_NOTIFY, 0, 0, 280,
                                     102, owner, reinterpret_cast<HMENU>(kId), nullptr, nullptr);
    for (int i = 0; i < 3; ++i) {
        append("quiet");
        SendMessageA(notifying, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("told"));
    }
    SendMessageA(notifying, LB_SETCURSEL, 0, 0);
    win32test::clickAt(list, 10, kItemHeight + 5);
    win32test::pressKey(list, VK_DOWN);
    EXPECT_TRUE(commands.empty());
    ASSERT_TRUE(win32test::clickAt(notifying, 10, kItemHeight + 5));
    ASSERT_TRUE(win32test::pressKey(notifying, VK_DOWN));
    const WPARAM selChange = MAKEWPARAM(kId, LBN_SELCHANGE);
    EXPECT_EQ(commands, (std::vector<WPARAM>{selChange, selChange}));
    EXPECT_EQ(win32test::listSelectedIndex(notifying), 2);
}

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

TEST_F(ListBox, LinesKeepEveryByteFromOneTo255) {
    std::string all;
    for (int byte = 1; byte <= 255; ++byte) all += static_cast<char>(byte);
    append(all.c_str());
    std::string back(256, '\0');
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(back.data())), 255);
    back.resize(255);
    EXPECT_EQ(back, all);
    const std::vector<win32test::DrawCall> calls = paintAndRecord();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back().texts.at(0).text, all);
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
