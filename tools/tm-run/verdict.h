#ifndef ZARN_TOOLS_TM_RUN_VERDICT_H
#define ZARN_TOOLS_TM_RUN_VERDICT_H

#include <gmpxx.h>

#include <cstdint>
#include <string>

#include "tools/tm-run/decider_run.h"
#include "tools/tm-run/tape_cells.h"

enum class VerdictKind {
    Undecided,
    Halts,
    Cycler,              // the same whole configuration at steps t1 < t2
    TranslatedCycler,    // records at t1 < t2, in the same state, the same cells behind
    ProvenRule,          // a proven rule that shortens no run
    HaltingUnreachable,  // no configuration leads to a halt in `depth` steps
};

// What a decider found, with the evidence that lets another program check it.
struct Verdict {
    VerdictKind kind = VerdictKind::Undecided;
    // Halts: the steps, the halting step among them; where and on what it halted.
    mpz_class steps = 0;
    int haltState = 0;
    int haltSymbol = 0;
    TapeCounts counts;
    mpz_class headPosition = 0;
    // Cyclers: the two steps, and the head's move between them.
    std::int64_t t1 = 0;
    std::int64_t t2 = 0;
    std::int64_t shift = 0;
    int depth = 0;
    std::string rule;

    bool neverHalts() const {
        return kind != VerdictKind::Undecided && kind != VerdictKind::Halts;
    }
};

// The verdict of a run whose last step halted: steps, halting transition and
// tape counts. `state` and `symbol` are what the halting step read.
Verdict haltedVerdict(const DeciderRun& run, int state, int symbol);

#endif
