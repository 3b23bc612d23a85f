#include "platform_test.h"

namespace {

using conformance::received;

class MessageLoop : public PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    }
    static std::vector<WPARAM> timerTicks() {
        std::vector<WPARAM> ticks;
        for (const conformance::Received& each : received) {
            if (each.message == WM_TIMER) {
                ticks.push_back(each.wParam);
            }
        }
        return ticks;
    }
    HWND window = nullptr;
};

// Setting a timer again replaces its period from now.
TEST_F(MessageLoop, TimersFireOnlyAsTheVirtualClockAdvances) {
    ASSERT_EQ(SetTimer(window, 1000, 125, nullptr), 1000u);
    win32test::advanceClock(124);
    EXPECT_TRUE(timerTicks().empty());
    win32test::advanceClock(1);
    EXPECT_EQ(timerTicks().size(), 1u);
    win32test::advanceClock(625);
    EXPECT_EQ(timerTicks().size(), 6u);
    EXPECT_EQ(GetTickCount(), 750u);
    win32test::advanceClock(100);
    ASSERT_EQ(SetTimer(window, 1000, 50, nullptr), 1000u);
    win32test::advanceClock(49);
    EXPECT_EQ(timerTicks().size(), 6u);
    win32test::advanceClock(1);
    EXPECT_EQ(timerTicks().size(), 7u);
    win32test::advanceClock(100);
    EXPECT_EQ(timerTicks().size(), 9u);
}

TEST_F(MessageLoop, SeveralTimersFireInOrderOfTheirDueTimes) {
    SetTimer(window, 1, 300, nullptr);
    SetTimer(window, 2, 200, nullptr);
    win32test::advanceClock(600);
    EXPECT_EQ(timerTicks(), (std::vector<WPARAM>{2, 1, 2, 1, 2}));
}

TEST_F(MessageLoop, AKilledTimerAndATimerOfADestroyedWindowStayQuiet) {
    SetTimer(window, 1, 100, nullptr);
    HWND other = conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
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
    conformance::answer = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_TIMER) {
            KillTimer(hwnd, wParam);
        }
        return false;
    };
    win32test::advanceClock(500);
    EXPECT_EQ(timerTicks().size(), 1u);
}

}  // namespace
