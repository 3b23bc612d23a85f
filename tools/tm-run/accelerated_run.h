#ifndef ZARN_TOOLS_TM_RUN_ACCELERATED_RUN_H
#define ZARN_TOOLS_TM_RUN_ACCELERATED_RUN_H

#include "engine/machine_runner.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/run_loop.h"

// Runs the machine as runSilently does and gives exactly its result (steps,
// outcome, state, head and tape), but skips ahead: see MacroMachine. The
// runner's own state and cells stay as the parse left them.
RunResult runAccelerated(MachineRunner& runner, const RunSettings& settings,
                         ProgressMeter& progress);

#endif
