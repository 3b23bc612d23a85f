#include "ui/log_list.h"

#include <algorithm>
#include <climits>
#include <string>

#include "ui/failure_boundary.h"
#include "ui/workbench.h"

namespace {

const char* const logHostClass = "LBOWNER";
constexpr DWORD logHostStyle = WS_CHILD | WS_VISIBLE | WS_BORDER;
constexpr DWORD logListStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL |
                               LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED;
constexpr UINT itemHeight = 20;
constexpr int textLeft = 6;
constexpr LRESULT noMarker = -1;

HWND createChild(const char* windowClass, const char* title, DWORD style, HWND parent,
                 const RECT& area) {
    return CreateWindowExA(0, windowClass, title, style, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, parent, nullptr,
                           appInstance, nullptr);
}

// A one-character box around the marker column, from the item's top down one
// text height. A column so far right that its position overflows is off any
// screen, so it draws nothing.
void drawMarkerBox(HDC dc, const TEXTMETRICA& metrics, int top, int column) {
    const long long width = metrics.tmAveCharWidth;
    const long long left = textLeft + column * width;
    if (left + width > INT_MAX) {
        return;
    }
    const int x0 = static_cast<int>(left);
    const int x1 = static_cast<int>(left + width);
    const int y1 = top + metrics.tmHeight;
    MoveToEx(dc, x0, top, nullptr);
    LineTo(dc, x1, top);
    LineTo(dc, x1, y1);
    LineTo(dc, x0, y1);
    LineTo(dc, x0, top);
}

// Selected and focused lines look like all others: no highlight, no focus frame.
LRESULT onDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) {
        return FALSE;
    }
    if (item.itemAction != ODA_DRAWENTIRE && item.itemAction != ODA_SELECT) {
        return TRUE;
    }
    const std::string text = lineText(item.hwndItem, item.itemID);
    TEXTMETRICA metrics{};
    GetTextMetricsA(item.hDC, &metrics);
    const int textTop = (item.rcItem.top + item.rcItem.bottom - metrics.tmHeight) / 2;
    TextOutA(item.hDC, textLeft, textTop, text.c_str(), static_cast<int>(text.size()));
    const int column =
        static_cast<int>(SendMessageA(item.hwndItem, LB_GETITEMDATA, item.itemID, 0));
    if (column >= 0) {
        drawMarkerBox(item.hDC, metrics, item.rcItem.top, column);
    }
    return TRUE;
}

}  // namespace

// Fetched whole: parser messages quote entire description lines, which can be
// longer than any fixed buffer.
std::string lineText(HWND list, UINT index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? static_cast<size_t>(std::min(copied, length)) : 0);
    return text;
}

ATOM registerLogHostClass() {
    WNDCLASSA hostClass{};
    hostClass.lpfnWndProc = logHostProc;
    hostClass.hInstance = appInstance;
    hostClass.lpszClassName = logHostClass;
    return RegisterClassA(&hostClass);
}

BOOL unregisterLogHostClass() {
    return UnregisterClassA(logHostClass, appInstance);
}

HWND createLogHost(HWND parent, const RECT& area) {
    return createChild(logHostClass, "", logHostStyle, parent, area);
}

HWND createLogList(HWND host, const RECT& area) {
    return createChild("LISTBOX", nullptr, logListStyle, host, area);
}

int appendLogLine(HWND list, const char* text) {
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    const int index = static_cast<int>(
        SendMessageA(list, LB_INSERTSTRING, count, reinterpret_cast<LPARAM>(text)));
    // A refused line has no item to mark or select.
    if (index < 0) {
        return index;
    }
    SendMessageA(list, LB_SETITEMDATA, index, noMarker);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    InvalidateRect(list, nullptr, FALSE);
    return index;
}

LRESULT CALLBACK logHostProc(HWND host, UINT message, WPARAM wParam, LPARAM lParam) {
    return withinBoundary(host, message, wParam, LRESULT{FALSE}, [&]() -> LRESULT {
        switch (message) {
            case WM_CREATE:
                return 0;
            case WM_MEASUREITEM:
                reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = itemHeight;
                return TRUE;
            case WM_DRAWITEM:
                return onDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        }
        return DefWindowProcA(host, message, wParam, lParam);
    });
}
