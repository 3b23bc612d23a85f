#ifndef ZARN_TOOLS_TM_RUN_BACKWARD_REASONING_DECIDER_H
#define ZARN_TOOLS_TM_RUN_BACKWARD_REASONING_DECIDER_H

#include <cstdint>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

// Searches back from every halting or undefined transition for configurations
// that lead to it, knowing only the cells the steps between read. When every
// branch dies out before `depthLimit` steps, at most `nodeLimit` partial
// configurations in all, no configuration leads to a halt in `depth` steps;
// if the machine also makes its first `depth` steps without halting, it never
// halts: HaltingUnreachable. Else Undecided.
Verdict decideBackwardReasoning(const DeciderMachine& machine, int depthLimit,
                                std::int64_t nodeLimit);

#endif
