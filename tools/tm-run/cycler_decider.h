#ifndef ZARN_TOOLS_TM_RUN_CYCLER_DECIDER_H
#define ZARN_TOOLS_TM_RUN_CYCLER_DECIDER_H

#include <cstdint>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

// Steps the machine for at most `budget` steps: Halts when it halts, Cycler
// when a whole configuration comes back (t1 < t2), else Undecided.
Verdict decideCycler(const DeciderMachine& machine, std::int64_t budget);

#endif
