// The window tree: what creation and destruction send and in which order,
// calls on null and destroyed handles, the user-data slot and the widths of
// a message's parameters, text, showing, and placing children.
#include <windows.h>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

void checkCreationOrder(HWND top) {
    received.clear();
    HWND child = createRecorder(top, WS_CHILD | WS_VISIBLE, 10, 20, 100, 50);
    CHECK(child != nullptr);
    const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE,     WM_SIZE,
                                     WM_MOVE,     WM_SHOWWINDOW, WM_WINDOWPOSCHANGED};
    CHECK(messagesOf(child, expected) == expected);
    for (const Received& message : received) {
        if (message.window == child && message.message == WM_SIZE) {
            CHECK_EQ(message.wParam, SIZE_RESTORED);
            CHECK_EQ(message.lParam, MAKELPARAM(100, 50));
        }
    }
    DestroyWindow(child);

    answer = [](HWND, UINT message, WPARAM, LPARAM, LRESULT& result) {
        result = -1;
        return message == WM_CREATE;
    };
    received.clear();
    CHECK(createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10) == nullptr);
    answer = nullptr;
    // The refused window is freed: its last message is WM_NCDESTROY.
    CHECK(!received.empty() && received.back().message == WM_NCDESTROY);
}

int indexOf(HWND window, UINT message) {
    for (size_t i = 0; i < received.size(); ++i) {
        if (received[i].window == window && received[i].message == message) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void checkDestructionOrder(HWND top) {
    HWND parent = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 200, 200);
    HWND child1 = createRecorder(parent, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50);
    HWND grandchild = createRecorder(child1, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10);
    HWND child2 = createRecorder(parent, WS_CHILD | WS_VISIBLE, 60, 0, 50, 50);
    received.clear();
    CHECK(DestroyWindow(parent));
    std::vector<HWND> destroyOrder;
    for (const Received& message : received) {
        if (message.message == WM_DESTROY) {
            destroyOrder.push_back(message.window);
        }
    }
    CHECK(destroyOrder == (std::vector<HWND>{parent, child1, grandchild, child2}));
    CHECK(indexOf(grandchild, WM_NCDESTROY) < indexOf(child1, WM_NCDESTROY));
    CHECK(indexOf(child1, WM_NCDESTROY) < indexOf(parent, WM_NCDESTROY));
    CHECK(indexOf(child2, WM_NCDESTROY) < indexOf(parent, WM_NCDESTROY));
    CHECK(indexOf(child2, WM_DESTROY) < indexOf(grandchild, WM_NCDESTROY));
    CHECK(!IsWindow(grandchild));
}

void checkStaleAndNullHandles(HWND top) {
    HWND gone = createRecorder(top, WS_CHILD, 0, 0, 10, 10);
    DestroyWindow(gone);
    RECT rect{1, 2, 3, 4};
    CHECK(!IsWindow(gone));
    CHECK_EQ(DestroyWindow(gone), FALSE);
    CHECK_EQ(SendMessageA(gone, WM_GETTEXTLENGTH, 0, 0), 0);
    CHECK_EQ(GetClientRect(gone, &rect), FALSE);
    CHECK_EQ(SetWindowTextA(gone, "x"), FALSE);
    CHECK_EQ(ShowWindow(gone, SW_SHOW), FALSE);
    CHECK_EQ(SendMessageA(nullptr, WM_GETTEXTLENGTH, 0, 0), 0);
    CHECK_EQ(DestroyWindow(nullptr), FALSE);
    CHECK_EQ(GetWindowLongPtrA(gone, GWLP_USERDATA), 0);
}

void checkUserData(HWND top) {
    HWND window = createRecorder(top, WS_CHILD, 0, 0, 10, 10);
    // An address, so that a 64-bit build proves the slot holds all of a pointer.
    static int record;
    const LONG_PTR address = reinterpret_cast<LONG_PTR>(&record);
    CHECK_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 0);
    CHECK_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, address), 0);
    CHECK_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), address);
    CHECK_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, 0), address);
    // The 32-bit program's calls: SetWindowLongA on the same slot
    // (GWL_USERDATA there), its LONG read back sign-extended at every width.
#ifdef GWL_USERDATA
    CHECK_EQ(GWL_USERDATA, GWLP_USERDATA);
#endif
    CHECK_EQ(SetWindowLongA(window, GWLP_USERDATA, -2), 0);
    CHECK_EQ(GetWindowLongA(window, GWLP_USERDATA), -2);
    CHECK_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), -2);

    // WPARAM, LPARAM and LRESULT are pointer-wide, and a message carries them whole.
    CHECK(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*));
    CHECK_EQ(sizeof(LRESULT), sizeof(void*));
    received.clear();
    SendMessageA(window, WM_APP, ~WPARAM{0}, address);
    CHECK(received.size() == 1 && received[0].wParam == ~WPARAM{0} &&
          received[0].lParam == address);
    DestroyWindow(window);
}

void checkText(HWND top) {
    HWND window = createRecorder(top, WS_CHILD, 0, 0, 10, 10, "first");
    char text[16] = "";
    CHECK_EQ(GetWindowTextA(window, text, sizeof text), 5);
    CHECK_TEXT(text, "first");
    CHECK(SetWindowTextA(window, "Untitled"));
    CHECK_EQ(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0), 8);
    DestroyWindow(window);
}

void checkShowAndPlace(HWND top) {
    HWND window = createRecorder(top, WS_CHILD, 0, 0, 10, 10);
    CHECK(!IsWindowVisible(window));
    CHECK_EQ(ShowWindow(window, SW_SHOW), FALSE);
    CHECK(IsWindowVisible(window));
    CHECK(ShowWindow(window, SW_SHOW) != FALSE);
    CHECK(ShowWindow(window, SW_HIDE) != FALSE);
    CHECK(!IsWindowVisible(window));

    received.clear();
    CHECK(SetWindowPos(window, nullptr, 10, 20, 200, 100, SWP_NOZORDER));
    RECT client{};
    CHECK(GetClientRect(window, &client));
    CHECK(client.left == 0 && client.top == 0 && client.right == 200 && client.bottom == 100);
    CHECK_EQ(countOf(window, WM_SIZE), 1);
    // A client area lower than the controls under it is laid out with a negative height.
    CHECK(SetWindowPos(window, nullptr, 0, 0, 50, -20, SWP_NOZORDER));
    CHECK(GetClientRect(window, &client));
    CHECK(client.right == 50 && client.bottom == 0);
    DestroyWindow(window);

    HWND bordered = createRecorder(top, WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 200, 100);
    CHECK(GetClientRect(bordered, &client));
    CHECK(client.right == 198 && client.bottom == 98);
    DestroyWindow(bordered);
}

// Messages that the stand-in leaves out: nothing in the program needs them.
void checkMessagesLeftOut(HWND top) {
    received.clear();
    HWND popup = createRecorder(nullptr, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100);
    CHECK_EQ(countOf(popup, WM_GETMINMAXINFO) > 0, sendsUnneededMessages);
    CHECK_EQ(countOf(popup, WM_NCCALCSIZE) > 0, sendsUnneededMessages);
    DestroyWindow(popup);

    HWND child = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50);
    received.clear();
    InvalidateRect(child, nullptr, TRUE);
    UpdateWindow(child);
    CHECK_EQ(countOf(child, WM_PAINT) > 0, paintsThroughWmPaint);
    DestroyWindow(child);
}

}  // namespace

void checkWindows(HWND top) {
    checkCreationOrder(top);
    checkDestructionOrder(top);
    checkStaleAndNullHandles(top);
    checkUserData(top);
    checkText(top);
    checkShowAndPlace(top);
    checkMessagesLeftOut(top);
}

}  // namespace conformance
