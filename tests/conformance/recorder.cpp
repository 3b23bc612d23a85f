#include "tests/conformance/recorder.h"

#include <algorithm>

#include "res/resource.h"

namespace conformance {

std::vector<Received> received;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;
HWND recordedClient;

namespace {

bool answered(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    received.push_back({window, message, wParam, lParam});
    return answer && answer(window, message, wParam, lParam, result);
}

LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (answered(window, message, wParam, lParam, result)) {
        return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK frameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (answered(window, message, wParam, lParam, result)) {
        return result;
    }
    return DefFrameProcA(window, recordedClient, message, wParam, lParam);
}

LRESULT CALLBACK childProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (answered(window, message, wParam, lParam, result)) {
        return result;
    }
    return DefMDIChildProcA(window, message, wParam, lParam);
}

void registerClass(const char* name, WNDPROC procedure, LPCSTR menu = nullptr) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = menu;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace

void registerRecorders() {
    registerClass("RECORDER", recorderProc);
    registerClass("RECFRAME", frameProc, MAKEINTRESOURCEA(IDR_MAINMENU));
    registerClass("RECCHILD", childProc);
}

void unregisterRecorders() {
    for (const char* name : {"RECORDER", "RECFRAME", "RECCHILD"}) {
        UnregisterClassA(name, GetModuleHandleA(nullptr));
    }
}

HWND createRecorder(HWND parent, DWORD style, int x, int y, int width, int height,
                    const char* title) {
    return CreateWindowExA(0, "RECORDER", title, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

std::vector<UINT> messagesOf(HWND window, const std::vector<UINT>& among) {
    std::vector<UINT> messages;
    for (const Received& message : received) {
        if (message.window == window &&
            std::find(among.begin(), among.end(), message.message) != among.end()) {
            messages.push_back(message.message);
        }
    }
    return messages;
}

int countOf(HWND window, UINT message) {
    return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const Received& r) {
        return r.window == window && r.message == message;
    }));
}

void dispatchWaiting() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void dispatchFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        dispatchWaiting();
    } while (GetTickCount() - start < milliseconds);
}

}  // namespace conformance
