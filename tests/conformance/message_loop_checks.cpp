// The program's message loop and window classes: posted messages and WM_QUIT
// through GetMessageA, TranslateMDISysAccel leaving other messages alone, and
// classes that cannot be registered twice or unregistered while in use.
#include <windows.h>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

LRESULT CALLBACK plainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void checkLoop(HWND top) {
    HWND window = createRecorder(top, WS_CHILD, 0, 0, 10, 10);
    dispatchWaiting();
    received.clear();
    CHECK(PostMessageA(window, WM_APP, 7, 8));
    PostQuitMessage(3);
    MSG message{};
    CHECK_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
    CHECK(message.hwnd == window && message.message == WM_APP && message.wParam == 7);
    CHECK_EQ(TranslateMDISysAccel(recordedClient, &message), FALSE);
    TranslateMessage(&message);
    DispatchMessageA(&message);
    CHECK_EQ(countOf(window, WM_APP), 1);
    CHECK_EQ(GetMessageA(&message, nullptr, 0, 0), FALSE);
    CHECK_EQ(message.message, WM_QUIT);
    CHECK_EQ(message.wParam, 3);
    DestroyWindow(window);
}

void checkClasses(HWND top) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = plainProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LBOWNER";
    CHECK(RegisterClassA(&windowClass) != 0);
    CHECK_EQ(RegisterClassA(&windowClass), 0);
    HWND window = CreateWindowExA(0, "LBOWNER", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 0, 0, 10, 10,
                                  top, nullptr, GetModuleHandleA(nullptr), nullptr);
    CHECK(window != nullptr);
    CHECK(!UnregisterClassA("LBOWNER", GetModuleHandleA(nullptr)));
    DestroyWindow(window);
    CHECK(UnregisterClassA("LBOWNER", GetModuleHandleA(nullptr)));
    CHECK(!UnregisterClassA("LBOWNER", GetModuleHandleA(nullptr)));
}

}  // namespace

void checkMessageLoop(HWND top) {
    checkLoop(top);
    checkClasses(top);
}

}  // namespace conformance
