#ifndef ZARN_TOOLS_TM_RUN_RUN_LOOP_H
#define ZARN_TOOLS_TM_RUN_RUN_LOOP_H

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <string>

#include "engine/machine_runner.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/tape_cells.h"
#include "tools/tm-run/trace_writer.h"

enum class RunOutcome {
    Finished,     // a rule led into the finish state
    StepLimit,    // the step limit came first
    Stuck,        // a step changed nothing, so no later step will either
    Endless,      // the steps from here on repeat a pattern that never ends
    OutOfMemory,  // going on would take the tape past the memory ceiling
    TraceFailed,  // the trace file could not be written
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Finished;
    // The steps that changed something: a run that is stuck stops counting at
    // the first step that changes nothing.
    mpz_class steps = 0;
    // Where the run left the machine.
    std::string state;
    mpz_class headPosition = 0;
    char symbol = blankSymbol;
    // From the leftmost to the rightmost non-blank cell, when asked for; none
    // when that is more than a report can hold.
    std::optional<TapeCells> tape;
    // How many cells hold each symbol, when the tape was asked for.
    std::optional<TapeCounts> counts;
};

struct RunSettings {
    std::optional<std::int64_t> maxSteps;
    bool reportTape = false;  // costs a little per step when plain
    // Before the run every cell from here on is blank, as are all cells left of 0.
    std::int32_t writtenEnd = 0;
    // Only the counts of the tape are wanted, not its cells.
    bool countsOnly = false;
    // The most bytes that the tape may take.
    std::int64_t memoryCeiling = memoryCeilingBytes;
};

// The most cells that a tape report holds.
inline constexpr std::int64_t reportableCells = std::int64_t{1} << 31;

// Both take a runner whose last parse succeeded and run it to its finish state
// or until one of the other outcomes stops it.

// Steps the machine directly, one rule at a time: no log line is formed.
RunResult runSilently(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress);

// Steps through the runner's step reporting, which writes the start
// configuration and every step into `trace` (the runner's states and tape logs
// must be the trace's sinks).
RunResult runTraced(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress,
                    const TraceWriter& trace);

#endif
