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
