// The clock behind GetTickCount: real time, or the test mode's virtual time,
// which only moves when a test advances it.
#ifndef ZARN_PLATFORM_CLOCK_H
#define ZARN_PLATFORM_CLOCK_H

namespace platform {

unsigned long long virtualClockNow();
void setVirtualClock(unsigned long long now);

}  // namespace platform

#endif
