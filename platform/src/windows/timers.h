// Timers: real ones over QTimer, or fired as the test mode's virtual clock advances.
#ifndef ZARN_PLATFORM_TIMERS_H
#define ZARN_PLATFORM_TIMERS_H

#include <windows.h>

namespace platform {

void killWindowTimers(HWND window);
void resetTimers();
void advanceVirtualClock(unsigned milliseconds);

}  // namespace platform

#endif
