// Timers: real ones over QTimer, or the test mode's virtual clock.
#ifndef ZARN_PLATFORM_TIMERS_H
#define ZARN_PLATFORM_TIMERS_H

#include <windows.h>

namespace platform {

void killWindowTimers(HWND window);
void resetTimers();
void advanceVirtualClock(unsigned milliseconds);
unsigned long long virtualClockNow();

}  // namespace platform

#endif
