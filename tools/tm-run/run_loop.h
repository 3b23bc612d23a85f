#ifndef ZARN_TOOLS_TM_RUN_RUN_LOOP_H
#define ZARN_TOOLS_TM_RUN_RUN_LOOP_H

#include <cstdint>
#include <optional>

#include "engine/machine_runner.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/trace_writer.h"

enum class RunOutcome {
    Finished,     // a rule led into the finish state
    StepLimit,    // the step limit came first
    Stuck,        // a step changed nothing, so no later step will either
    TraceFailed,  // the trace file could not be written
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Finished;
    // Counted as the workbench counts them: every step attempt after the start
    // configuration, whether or not a rule matched.
    std::int64_t steps = 0;
    // The stretch of positions the head stood on, when asked for.
    std::int32_t leftmostHead = 0;
    std::int32_t rightmostHead = 0;
};

struct RunSettings {
    std::optional<std::int64_t> maxSteps;
    bool trackHead = false;  // costs a little per step; needed only to print the tape
};

// Both take a runner whose last parse succeeded and run it to its finish state
// or until one of the other outcomes stops it.

// Steps the machine directly: no log line is formed.
RunResult runSilently(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress);

// Steps through the runner's step reporting, which writes the start
// configuration and every step into `trace` (the runner's states and tape logs
// must be the trace's sinks).
RunResult runTraced(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress,
                    const TraceWriter& trace);

#endif
