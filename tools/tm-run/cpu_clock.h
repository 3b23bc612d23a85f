#ifndef ZARN_TOOLS_TM_RUN_CPU_CLOCK_H
#define ZARN_TOOLS_TM_RUN_CPU_CLOCK_H

#include <chrono>
#include <ctime>

// The processor time that the process has used, in microseconds: ways of
// running that share out time by it are not misled by other work on the
// machine, which a wall clock counts as theirs.
struct CpuClock {
    using duration = std::chrono::microseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<CpuClock>;
    // The name is the standard's, which clocks must use.
    static constexpr bool is_steady = true;  // NOLINT(readability-identifier-naming)

    static time_point now() {
        return time_point(duration(static_cast<rep>(std::clock()) * 1'000'000 / CLOCKS_PER_SEC));
    }
};

#endif
