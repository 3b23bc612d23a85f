#ifndef ZARN_TOOLS_TM_RUN_DECISION_H
#define ZARN_TOOLS_TM_RUN_DECISION_H

#include <cstdint>

#include "tools/tm-run/closed_tape_language_decider.h"
#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/finite_automata_decider.h"
#include "tools/tm-run/repeated_word_decider.h"
#include "tools/tm-run/verdict.h"

// How far each decider may go before the next one tries.
struct DecideBudget {
    // The first, short runs of the cycler deciders.
    std::int64_t quickSteps = 256;
    std::int64_t cyclerSteps = 4096;
    std::int64_t translatedCyclerSteps = 4096;
    int backwardDepth = 40;
    std::int64_t backwardNodes = 20000;
    WindowLimits windows;
    WordListLimits words;
    WindowLimits writerWindows = writerWindowLimits;
    AutomataLimits automata;
    // The proof system's run, in steps of the machine; it also finds late halts.
    std::int64_t provenRuleSteps = defaultProvenRuleSteps;
    std::int64_t provenRuleMacroSteps = 1 << 14;  // for each block size

    static constexpr std::int64_t defaultProvenRuleSteps = 100'000'000;
};

// The deciders in turn, cheapest first; the first that knows gives the verdict.
Verdict decide(const DeciderMachine& machine, const DecideBudget& budget);

#endif
