#include <utility>

#include "platform_test.h"

namespace {

class MessageLoop : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        registerRecorder();
        window = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
        received.clear();
    }
    std::vector<WPARAM> timerTicks() const {
        std::vector<WPARAM> ticks;
        for (const ReceivedMessage& each : received) {
            if (each.message == WM_TIMER)
                ticks.push_back(each.wParam);
        }
        return ticks;
    }
    HWND window = nullptr;
};

TEST_F(MessageLoop, PostedMessagesComeBackInOrderAndQuitComesLast) {
    PostMessageA(window, WM_USER + 1, 10, 0);
    PostQuitMessage(3);
    PostMessageA(window, WM_USER + 2, 20, 0);
    MSG message{};
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(message.hwnd, window);
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 2));
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoop, DispatchingDeliversToTheWindowProcedureAndSendingIsSynchronous) {
    PostMessageA(window, WM_USER, 1, 2);
    EXPECT_TRUE(messagesOf(window).empty());
    win32test::processPendingMessages();
    ASSERT_EQ(messagesOf(window), std::vector<UINT>{WM_USER});
    handler = [](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        result = static_cast<LRESULT>(wParam * 2);
        return message == WM_USER + 5;
    };
    EXPECT_EQ(SendMessageA(window, WM_USER + 5, 21, 0), 42);
}

TEST_F(MessageLoop, ProcessingPendingMessagesLeavesTheQuitRequestAlone) {
    PostQuitMessage(0);
    win32test::processPendingMessages();
    EXPECT_TRUE(win32test::quitPosted());
    MSG message{};
    EXPECT_FALSE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_FALSE(win32test::quitPosted());
}

TEST_F(MessageLoop, TimersFireOnlyAsTheVirtualClockAdvances) {
    ASSERT_EQ(SetTimer(window, 1000, 125, nullptr), 1000u);
    win32test::advanceClock(124);
    EXPECT_TRUE(timerTicks().empty());
    win32test::advanceClock(1);
    EXPECT_EQ(timerTicks().size(), 1u);
    win32test::advanceClock(625);
    EXPECT_EQ(timerTicks().size(), 6u);
    EXPECT_EQ(GetTickCount(), 750u);
}

TEST_F(MessageLoop, SeveralTimersFireInOrderOfTheirDueTimes) {
    SetTimer(window, 1, 300, nullptr);
    SetTimer(window, 2, 200, nullptr);
    win32test::advanceClock(600);
    EXPECT_EQ(timerTicks(), (std::vector<WPARAM>{2, 1, 2, 1, 2}));
}

TEST_F(MessageLoop, AKilledTimerAndATimerOfADestroyedWindowStayQuiet) {
    SetTimer(window, 1, 100, nullptr);
    HWND other = createRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    SetTimer(other, 2, 100, nullptr);
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 1));
    DestroyWindow(other);
    received.clear();
    win32test::advanceClock(1000);
    EXPECT_TRUE(timerTicks().empty());
}

TEST_F(MessageLoop, ATimerKilledByItsOwnTickFiresNoMore) {
    SetTimer(window, 9, 50, nullptr);
    handler = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_TIMER)
            KillTimer(hwnd, wParam);
        return false;
    };
    win32test::advanceClock(500);
    EXPECT_EQ(timerTicks().size(), 1u);
}

std::vector<std::pair<HWND, UINT_PTR>> callbackTicks;

void CALLBACK recordTick(HWND window, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(message, static_cast<UINT>(WM_TIMER));
    callbackTicks.push_back({window, id});
}

TEST_F(MessageLoop, ATimerWithACallbackCallsItInsteadOfTheWindowProcedure) {
    callbackTicks.clear();
    ASSERT_EQ(SetTimer(window, 5, 100, recordTick), 5u);
    const UINT_PTR threadTimer = SetTimer(nullptr, 0, 100, recordTick);
    ASSERT_NE(threadTimer, 0u);
    win32test::advanceClock(100);
    EXPECT_EQ(callbackTicks,
              (std::vector<std::pair<HWND, UINT_PTR>>{{window, 5}, {nullptr, threadTimer}}));
    EXPECT_TRUE(timerTicks().empty());
    EXPECT_TRUE(KillTimer(nullptr, threadTimer));
}

TEST_F(MessageLoop, SettingATimerAgainReplacesItsPeriodFromNow) {
    SetTimer(window, 1, 300, nullptr);
    win32test::advanceClock(200);
    ASSERT_EQ(SetTimer(window, 1, 100, nullptr), 1u);
    win32test::advanceClock(99);
    EXPECT_TRUE(timerTicks().empty());
    win32test::advanceClock(1);
    EXPECT_EQ(timerTicks().size(), 1u);
    win32test::advanceClock(300);
    EXPECT_EQ(timerTicks().size(), 4u);
}

}  // namespace
