#include "windows/timers.h"

#include <QTimer>
#include <algorithm>
#include <memory>
#include <vector>

#include "test_mode/test_mode.h"
#include "windows/clock.h"
#include "windows/message_queue.h"

using namespace platform;

namespace {

// Win32 raises shorter periods to this minimum.
constexpr UINT minimumPeriod = 10;
constexpr UINT_PTR firstThreadTimerId = 0x7FF0;

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT period = 0;
    TIMERPROC procedure = nullptr;
    unsigned long long due = 0;
    unsigned long long order = 0;
    std::unique_ptr<QTimer> qtimer;
};

std::vector<std::unique_ptr<Timer>>& timers() {
    static std::vector<std::unique_ptr<Timer>> all;
    return all;
}

unsigned long long nextOrder = 0;
UINT_PTR nextThreadTimerId = firstThreadTimerId;

auto findTimer(HWND window, UINT_PTR id) {
    return std::find_if(timers().begin(), timers().end(), [&](const auto& timer) {
        return timer->window == window && timer->id == id;
    });
}

MSG timerMessage(const Timer& timer) {
    return MSG{timer.window,   WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure),
               GetTickCount(), {0, 0}};
}

void startRealTimer(Timer& timer) {
    timer.qtimer = std::make_unique<QTimer>();
    timer.qtimer->setInterval(static_cast<int>(timer.period));
    const HWND window = timer.window;
    const UINT_PTR id = timer.id;
    QObject::connect(timer.qtimer.get(), &QTimer::timeout, [window, id] {
        // Like Win32, at most one WM_TIMER of a timer waits in the queue.
        const auto found = findTimer(window, id);
        if (found == timers().end() || hasPostedMessage(window, WM_TIMER, id)) {
            return;
        }
        postMessage(timerMessage(**found));
    });
    timer.qtimer->start();
}

}  // namespace

namespace platform {

void killWindowTimers(HWND window) {
    std::erase_if(timers(), [window](const auto& timer) { return timer->window == window; });
}

void resetTimers() {
    timers().clear();
    setVirtualClock(0);
    nextThreadTimerId = firstThreadTimerId;
}

void advanceVirtualClock(unsigned milliseconds) {
    const unsigned long long target = virtualClockNow() + milliseconds;
    for (;;) {
        Timer* next = nullptr;
        for (const auto& timer : timers()) {
            if (timer->due > target) {
                continue;
            }
            if (!next || timer->due < next->due ||
                (timer->due == next->due && timer->order < next->order)) {
                next = timer.get();
            }
        }
        if (!next) {
            break;
        }
        setVirtualClock(next->due);
        next->due += next->period;
        const MSG message = timerMessage(*next);
        DispatchMessageA(&message);
    }
    setVirtualClock(target);
}

}  // namespace platform

UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
    if (window && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!window) {
        id = nextThreadTimerId++;
    }
    if (const auto existing = findTimer(window, id); existing != timers().end()) {
        timers().erase(existing);
    }
    auto timer = std::make_unique<Timer>();
    timer->window = window;
    timer->id = id;
    timer->period = std::max(milliseconds, minimumPeriod);
    timer->procedure = procedure;
    timer->due = virtualClockNow() + timer->period;
    timer->order = nextOrder++;
    if (!testMode()) {
        startRealTimer(*timer);
    }
    timers().push_back(std::move(timer));
    return window ? (id ? id : 1) : id;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    const auto found = findTimer(window, id);
    if (found == timers().end()) {
        return FALSE;
    }
    timers().erase(found);
    dropTimerMessages(window, id);
    return TRUE;
}
