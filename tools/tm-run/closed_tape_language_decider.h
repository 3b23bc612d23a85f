#ifndef ZARN_TOOLS_TM_RUN_CLOSED_TAPE_LANGUAGE_DECIDER_H
#define ZARN_TOOLS_TM_RUN_CLOSED_TAPE_LANGUAGE_DECIDER_H

#include <cstddef>

#include "tools/tm-run/decider_machine.h"
#include "tools/tm-run/verdict.h"

struct WindowLimits {
    int largestBlock = 3;
    int widest = 5;  // blocks in a window
    std::size_t mostNeighbourhoods = 20000;
};

// Windows for the machine whose cells remember their writer: with more
// symbols, narrower windows already tell the sweeps apart.
constexpr WindowLimits writerWindowLimits{3, 3, 20000};

// Tries blocks of 1 cell and up, each with windows of 1 block and up as long
// as a window's number fits in 64 bits, for a machine that starts on a blank
// tape: ClosedTapeLanguage with its windows when a closed set holds no halt,
// else Undecided.
Verdict decideClosedTapeLanguage(const DeciderMachine& machine, const WindowLimits& limits);

// The same for the machine whose cells also hold the state that wrote them:
// the windows, marked so, are those of `writerHistoryMachine(machine)`.
Verdict decideClosedTapeLanguageOfWriters(const DeciderMachine& machine,
                                          const WindowLimits& limits);

#endif
