#ifndef ZARN_TOOLS_TM_RUN_PROVEN_RULE_DECIDER_H
#define ZARN_TOOLS_TM_RUN_PROVEN_RULE_DECIDER_H

#include <cstdint>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

// Runs the machine with blocks of each size in turn, the proof system
// watching, for about `budget` steps each: ProvenRule when the proof system
// proves a rule that no application shortens, Halts (with the steps and tape
// counts, but no halting transition) when the machine halts, else Undecided.
// Each block size gets `macroStepsPerSize` block steps at most, so that a
// machine the blocks do not compress costs a bounded time.
Verdict decideProvenRule(const DeciderMachine& machine, std::int64_t budget,
                         std::int64_t macroStepsPerSize);

#endif
