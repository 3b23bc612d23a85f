#ifndef ZARN_TOOLS_TM_RUN_TREE_ENUMERATION_H
#define ZARN_TOOLS_TM_RUN_TREE_ENUMERATION_H

#include <gmpxx.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/tm-run/decision.h"

struct EnumerationTally {
    std::int64_t machines = 0;
    std::int64_t halting = 0;
    // Never halting, by VerdictKind; Undecided counts those left undecided.
    std::array<std::int64_t, verdictKindCount> byKind{};
    mpz_class mostSteps = 0;
    std::string mostStepsMachine;
    std::int64_t mostOnes = 0;  // non-blank cells
    std::string mostOnesMachine;
    std::vector<std::string> undecidedMachines;

    std::int64_t count(VerdictKind kind) const { return byKind[static_cast<int>(kind)]; }
};

// Every machine of `states` states and `symbols` symbols in tree normal form:
// started in A on a blank tape, each transition defined only once a run
// reaches it, then in every way that brings in new states and symbols in
// order, halting included. Each is decided; `progress` hears the count so far.
EnumerationTally enumerateTreeNormalForm(int states, int symbols, const DecideBudget& budget,
                                         const std::function<void(std::int64_t)>& progress);

#endif
