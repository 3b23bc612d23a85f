#include "windows/clock.h"

#include <windows.h>

#include <QElapsedTimer>

#include "test_mode/test_mode.h"

namespace {

unsigned long long virtualNow = 0;

}  // namespace

namespace platform {

unsigned long long virtualClockNow() {
    return virtualNow;
}

void setVirtualClock(unsigned long long now) {
    virtualNow = now;
}

}  // namespace platform

DWORD WINAPI GetTickCount(void) {
    if (platform::testMode()) {
        return static_cast<DWORD>(virtualNow);
    }
    static QElapsedTimer sinceStart = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return static_cast<DWORD>(sinceStart.elapsed());
}
