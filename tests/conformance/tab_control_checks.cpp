// "SysTabControl32" as the document window uses it: inserting tabs, the
// selection, and the display area that TCM_ADJUSTRECT gives with and without tabs.
#include <windows.h>
// The common controls' header expects windows.h before it.
#include <commctrl.h>

#include <vector>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

LRESULT insertTab(HWND tabs, const char* label, int index) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(label);
    item.iImage = -1;
    return SendMessageA(tabs, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item));
}

// A click with the left button in the middle of the tab.
void clickTab(HWND tabs, int index) {
    RECT tab{};
    SendMessageA(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&tab));
    const LPARAM middle = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, middle);
    SendMessageA(tabs, WM_LBUTTONUP, 0, middle);
}

RECT displayArea(HWND tabs) {
    RECT area{};
    GetClientRect(tabs, &area);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    return area;
}

}  // namespace

void checkTabControl(HWND top) {
    HWND parent = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 500, 400);
    HWND tabs = CreateWindowExA(0, "SysTabControl32", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                0, 0, 400, 300, parent, reinterpret_cast<HMENU>(1001),
                                GetModuleHandleA(nullptr), nullptr);
    CHECK(tabs != nullptr);
    CHECK_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), -1);
    RECT area = displayArea(tabs);
    CHECK(area.left == 4 && area.top == 4 && area.right == 396 && area.bottom == 296);

    CHECK_EQ(insertTab(tabs, "Parser", 0), 0);
    CHECK_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    area = displayArea(tabs);
    CHECK(area.left == 4 && area.right == 396 && area.bottom == 296);
    CHECK_EQ(area.top, 4 + tabRowHeight);

    CHECK_EQ(insertTab(tabs, "States", 1), 1);
    // An index past the end appends.
    CHECK_EQ(insertTab(tabs, "Tape", 7), 2);
    CHECK_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    CHECK_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 0);
    // Only the user's click notifies the parent; the program's own choice does not.
    received.clear();
    CHECK_EQ(SendMessageA(tabs, TCM_SETCURSEL, 2, 0), 0);
    CHECK_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 2);
    CHECK_EQ(countOf(parent, WM_NOTIFY), 0);  // no TCN_SELCHANGING, no TCN_SELCHANGE
    char label[16] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = label;
    item.cchTextMax = sizeof label;
    CHECK(SendMessageA(tabs, TCM_GETITEMA, 2, reinterpret_cast<LPARAM>(&item)));
    CHECK_TEXT(label, "Tape");
    CHECK_EQ(displayArea(tabs).top, 4 + tabRowHeight);

    // A click on a tab asks the parent first, then tells it.
    std::vector<UINT> codes;
    answer = [&](HWND to, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (to != parent || message != WM_NOTIFY) {
            return false;
        }
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        CHECK(header->hwndFrom == tabs && header->idFrom == 1001);
        // Win32 also tells of the click itself (NM_CLICK and the like).
        if (header->code == TCN_SELCHANGING || header->code == TCN_SELCHANGE) {
            codes.push_back(header->code);
        }
        result = 0;
        return true;
    };
    clickTab(tabs, 1);
    CHECK(codes == (std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}));
    CHECK_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    answer = nullptr;

    // The document lays its pages out again after SetWindowPos.
    SetWindowPos(tabs, nullptr, 0, 0, 300, 100, SWP_NOZORDER);
    area = displayArea(tabs);
    CHECK(area.left == 4 && area.right == 296 && area.bottom == 96);
    DestroyWindow(parent);
    CHECK(!IsWindow(tabs));
}

}  // namespace conformance
