// Timers as a running machine uses them: ticks at about the period, at most
// one waiting however late the program is, none after KillTimer, and ticks
// that go on while a message box is open.
#include <windows.h>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

constexpr UINT_PTR timerId = 1000;

void checkTicks(HWND window) {
    received.clear();
    CHECK_EQ(SetTimer(window, timerId, 50, nullptr), timerId);
    dispatchFor(520);
    const int ticks = countOf(window, WM_TIMER);
    CHECK(ticks >= 5 && ticks <= 11);
    CHECK(!received.empty() && received.back().wParam == timerId);

    // A program busy for six periods finds one tick waiting, not six.
    CHECK_EQ(SetTimer(window, timerId, 100, nullptr), timerId);
    dispatchWaiting();
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 600) {
    }
    MSG message;
    int waiting = 0;
    while (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        ++waiting;
    }
    CHECK_EQ(waiting, 1);

    CHECK(KillTimer(window, timerId));
    received.clear();
    dispatchFor(100);
    CHECK_EQ(countOf(window, WM_TIMER), 0);
    CHECK(!KillTimer(window, timerId));
}

// The fifth tick finds the open box by its caption and presses its OK button.
void checkTicksBehindMessageBox(HWND window) {
    int ticks = 0;
    HWND box = nullptr;
    answer = [&](HWND to, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (to != window || message != WM_TIMER) {
            return false;
        }
        if (++ticks >= 5 && !box && (box = FindWindowA(nullptr, "Error"))) {
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        result = 0;
        return true;
    };
    SetTimer(window, timerId, 20, nullptr);
    CHECK_EQ(MessageBoxA(window, "Unable to run\nErrors in turing machine", "Error",
                         MB_OK | MB_ICONERROR),
             IDOK);
    CHECK(box != nullptr);
    CHECK(ticks >= 5);
    CHECK(!IsWindow(box));
    KillTimer(window, timerId);
    answer = nullptr;
}

}  // namespace

void checkTimers(HWND top) {
    HWND window = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50);
    checkTicks(window);
    checkTicksBehindMessageBox(window);
    DestroyWindow(window);
}

}  // namespace conformance
