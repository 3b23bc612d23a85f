#ifndef ZARN_TOOLS_TM_RUN_FINITE_AUTOMATA_DECIDER_H
#define ZARN_TOOLS_TM_RUN_FINITE_AUTOMATA_DECIDER_H

#include <cstdint>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

struct AutomataLimits {
    int mostSideStates = 5;
    std::int64_t mostSideAutomata = 60000;  // tried, on both sides together
};

// Tries the side automata of 1 state and up, on the left and then on the
// right, for a machine that starts on a blank tape: FiniteAutomata with both
// automata when the least rest automaton that the closure asks for keeps the
// blank start out, else Undecided.
Verdict decideFiniteAutomata(const DeciderMachine& machine, const AutomataLimits& limits);

#endif
