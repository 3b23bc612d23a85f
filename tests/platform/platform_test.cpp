#include "platform_test.h"

#include <ostream>

std::vector<ReceivedMessage> PlatformTest::received;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> PlatformTest::handler;

namespace {

LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformTest::received.push_back({window, message, wParam, lParam});
    LRESULT result = 0;
    if (PlatformTest::handler && PlatformTest::handler(window, message, wParam, lParam, result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void PlatformTest::SetUp() {
    win32test::enable();
    received.clear();
    handler = nullptr;
}

void PlatformTest::TearDown() {
    handler = nullptr;
    win32test::reset();
    received.clear();
}

void PlatformTest::registerRecorder() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = recorderProc;
    windowClass.lpszClassName = "RECORDER";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ASSERT_NE(RegisterClassA(&windowClass), 0);
}

HWND PlatformTest::createRecorder(HWND parent, DWORD style, int x, int y, int width, int height,
                                  const char* title, DWORD exStyle) {
    return CreateWindowExA(exStyle, "RECORDER", title, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

std::vector<UINT> PlatformTest::messagesOf(HWND window) {
    std::vector<UINT> messages;
    for (const ReceivedMessage& each : received) {
        if (each.window == window)
            messages.push_back(each.message);
    }
    return messages;
}

bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::ostream& operator<<(std::ostream& out, const RECT& rect) {
    return out << "(" << rect.left << "," << rect.top << ")-(" << rect.right << "," << rect.bottom
               << ")";
}
