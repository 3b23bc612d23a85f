#ifndef ZARN_TOOLS_TM_RUN_WRITER_HISTORY_MACHINE_H
#define ZARN_TOOLS_TM_RUN_WRITER_HISTORY_MACHINE_H

#include "tools/tm-run/decider_machine.h"

// The same machine, whose written cells also hold the state that wrote them:
// symbol 0 is a cell never written, 1 + writer * symbolCount + symbol the
// others. It steps, halts and runs for ever exactly as the machine does, but
// a set of tapes closed under its steps can tell sweeps apart. Empty (no
// states) if the symbols would not fit.
DeciderMachine writerHistoryMachine(const DeciderMachine& machine);

// A cell's symbol in the machine that `writerHistoryMachine` made.
int symbolBehindHistory(int cell, int symbolCount);

#endif
