#ifndef ZARN_TOOLS_TM_RUN_REPEATED_WORD_DECIDER_H
#define ZARN_TOOLS_TM_RUN_REPEATED_WORD_DECIDER_H

#include <cstddef>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

struct WordListLimits {
    int largestBlock = 6;
    int largestThreshold = 3;
    std::size_t mostConfigurations = 4000;
    std::size_t longestList = 16;  // runs on one side
};

// Tries blocks of 1 cell and up, each with thresholds of 1 and up, for a
// machine that starts on a blank tape: RepeatedWords with its configurations
// when a closed set of them holds the blank start and no halt, else Undecided.
Verdict decideRepeatedWords(const DeciderMachine& machine, const WordListLimits& limits);

#endif
