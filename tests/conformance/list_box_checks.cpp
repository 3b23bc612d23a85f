// The owner-drawn "LISTBOX" of the log lists: the owner's WM_MEASUREITEM, the
// list messages and their answers for bad indexes and for index -1, and the WM_DRAWITEM calls
// after a selection change and a repaint, drawn in the list's font.
#include <windows.h>

#include <vector>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

constexpr DWORD logListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                               LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;

struct Drawn {
    DRAWITEMSTRUCT item;
    TEXTMETRICA metrics;
};

MEASUREITEMSTRUCT measured;
int measureCount;
std::vector<Drawn> drawn;

bool ownerAnswer(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    if (message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        measured = *measure;
        ++measureCount;
        measure->itemHeight = 20;
        result = TRUE;
        return true;
    }
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        Drawn entry{*item, {}};
        GetTextMetricsA(item->hDC, &entry.metrics);
        drawn.push_back(entry);
        result = TRUE;
        return true;
    }
    return false;
}

LRESULT insert(HWND list, WPARAM index, const char* text) {
    return SendMessageA(list, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text));
}

void checkMeasure(HWND list) {
    CHECK(list != nullptr);
    CHECK_EQ(measureCount, 1);
    CHECK_EQ(measured.CtlType, ODT_LISTBOX);
    CHECK_EQ(measured.CtlID, 0);
    CHECK_EQ(measured.itemID, 0xFFFFFFFF);
    CHECK_EQ(measured.itemHeight, 16);
}

void checkLines(HWND list) {
    CHECK_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    CHECK_EQ(insert(list, 0, "first"), 0);
    CHECK_EQ(insert(list, 1, "second line"), 1);
    CHECK_EQ(insert(list, 5, "beyond the end"), LB_ERR);
    CHECK_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);
    CHECK_EQ(SendMessageA(list, LB_GETTEXTLEN, 1, 0), 11);
    char text[32] = "";
    CHECK_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 11);
    CHECK_TEXT(text, "second line");
    CHECK_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), LB_ERR);
    CHECK_EQ(SendMessageA(list, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(text)), LB_ERR);

    CHECK_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), 0);
    CHECK(SendMessageA(list, LB_SETITEMDATA, 0, 7) != LB_ERR);
    CHECK(SendMessageA(list, LB_SETITEMDATA, 1, -1) != LB_ERR);
    CHECK_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), 7);
    CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, 1, 0)), -1);
    CHECK_EQ(SendMessageA(list, LB_SETITEMDATA, 2, 3), LB_ERR);
    CHECK_EQ(SendMessageA(list, LB_GETITEMDATA, 2, 0), LB_ERR);

    CHECK_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
    CHECK_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    CHECK_EQ(SendMessageA(list, LB_SETCURSEL, 9, 0), LB_ERR);
}

// Index -1 stands for every item (after checkLines: data 7 and -1).
void checkDataOfEveryItem(HWND list) {
    const LRESULT answer = SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(-1), 5);
    CHECK(minusOneSetsEveryItemData ? answer != LB_ERR : answer == LB_ERR);
    CHECK_EQ(SendMessageA(list, LB_GETITEMDATA, 0, 0), minusOneSetsEveryItemData ? 5 : 7);
    CHECK_EQ(static_cast<int>(SendMessageA(list, LB_GETITEMDATA, 1, 0)),
             minusOneSetsEveryItemData ? 5 : -1);
}

const Drawn* find(UINT itemID, UINT action) {
    for (const Drawn& entry : drawn) {
        if (entry.item.itemID == itemID && entry.item.itemAction == action) {
            return &entry;
        }
    }
    return nullptr;
}

void checkDrawing(HWND list, HFONT font) {
    drawn.clear();
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    InvalidateRect(list, nullptr, FALSE);
    UpdateWindow(list);
    dispatchFor(50);
    const Drawn* select = find(0, ODA_SELECT);
    const Drawn* entire = find(0, ODA_DRAWENTIRE);
    CHECK(select != nullptr && entire != nullptr && select < entire);
    if (!select || !entire) {
        return;
    }
    CHECK((select->item.itemState & ODS_SELECTED) != 0);
    CHECK((entire->item.itemState & ODS_SELECTED) != 0);
    CHECK_EQ(entire->item.CtlType, ODT_LISTBOX);
    CHECK(entire->item.hwndItem == list);
    CHECK_EQ(entire->item.itemData, 7);
    const RECT& rect = entire->item.rcItem;
    CHECK(rect.left == 0 && rect.top == 0 && rect.right == 278 && rect.bottom == 20);
    const Drawn* second = find(1, ODA_DRAWENTIRE);
    CHECK(second != nullptr && second->item.rcItem.top == 20 && second->item.rcItem.bottom == 40);
    CHECK(second != nullptr && (second->item.itemState & ODS_SELECTED) == 0);

    // The list hands over a device context with its own font selected.
    HDC dc = GetDC(list);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    CHECK_EQ(entire->metrics.tmAveCharWidth, metrics.tmAveCharWidth);
    CHECK_EQ(entire->metrics.tmHeight, metrics.tmHeight);
}

}  // namespace

void checkListBox(HWND top) {
    HWND owner = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 300, 220);
    answer = ownerAnswer;
    measureCount = 0;
    HWND list = CreateWindowExA(0, "LISTBOX", nullptr, logListStyle, 0, 0, 280, 200, owner, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    checkMeasure(list);
    HFONT font =
        CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    checkLines(list);
    checkDrawing(list, font);
    checkDataOfEveryItem(list);
    CHECK_EQ(SendMessageA(list, LB_RESETCONTENT, 0, 0), 0);
    CHECK_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    answer = nullptr;
    DestroyWindow(owner);
    DeleteObject(font);
}

}  // namespace conformance
