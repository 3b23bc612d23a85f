// Shared setup of the stand-in's tests: test mode on, everything reset after
// each test, and a window class that records the messages it receives.
#ifndef ZARN_TESTS_PLATFORM_TEST_H
#define ZARN_TESTS_PLATFORM_TEST_H

#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers "RECORDER": every message is recorded, then handled by
    // `handler` if it returns a value, else by DefWindowProcA.
    static void registerRecorder();
    static HWND createRecorder(HWND parent, DWORD style, int x = 0, int y = 0, int width = 100,
                               int height = 100, const char* title = "", DWORD exStyle = 0);
    static std::vector<UINT> messagesOf(HWND window);

public:
    static std::vector<ReceivedMessage> received;
    static std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> handler;
};

bool operator==(const RECT& a, const RECT& b);
std::ostream& operator<<(std::ostream& out, const RECT& rect);

#endif
