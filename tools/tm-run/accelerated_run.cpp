#include "tools/tm-run/accelerated_run.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "tools/tm-run/big_count.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/macro_machine.h"

namespace {

// Each block size gets this many block crossings from the start; the one that
// got furthest runs on. Small enough to cost little, long enough to show how
// well a size compresses the tape that the machine writes.
constexpr std::int64_t trialCrossings = 4096;
// Between looks at the clock for the progress line.
constexpr std::int64_t crossingsPerUpdate = 1 << 16;

// Tries the block sizes in turn, each from the start; a trial that ends the
// run is the result, so a short run costs one trial.
std::unique_ptr<MacroMachine> bestBlockSize(const CompiledRules& rules, const TapeCells& start,
                                            std::int64_t headPosition,
                                            std::optional<std::int64_t> limit) {
    std::unique_ptr<MacroMachine> best;
    for (int blockSize = 1; blockSize <= largestBlock; ++blockSize) {
        auto trial = std::make_unique<MacroMachine>(rules, blockSize, start, headPosition, limit);
        if (trial->advance(trialCrossings)) {
            return trial;
        }
        if (!best || trial->steps() > best->steps()) {
            best = std::move(trial);
        }
    }
    return best;
}

RunResult resultOf(const MacroMachine& machine, const RunSettings& settings) {
    RunResult result;
    result.steps = machine.steps();
    result.state = machine.state();
    result.headPosition = machine.headPosition();
    result.symbol = machine.symbol();
    if (machine.end() == BlockEnd::Budget) {
        result.outcome = RunOutcome::StepLimit;
    } else if (machine.end() == BlockEnd::Endless) {
        result.outcome = RunOutcome::Endless;
    } else if (machine.end() == BlockEnd::Idle) {
        // The plain run notices at its next probe, which the limit may forestall.
        // Past 64 bits there is no limit and no plain run to agree with.
        result.outcome = RunOutcome::Stuck;
        if (const auto busySteps = int64Of(machine.steps())) {
            const std::int64_t limit = settings.maxSteps.value_or(INT64_MAX);
            const auto probe = idleProbeStep(*busySteps, limit);
            result.outcome = probe ? RunOutcome::Stuck : RunOutcome::StepLimit;
            result.steps = bigOf(probe.value_or(limit));
        }
    }
    if (settings.reportTape) {
        if (!settings.countsOnly) {
            if (const auto cells = machine.writtenCells(reportableCells)) {
                result.tape = withoutOuterBlanks(*cells, int64Of(result.headPosition).value_or(0));
            }
        }
        result.counts = machine.counts();
    }
    return result;
}

}  // namespace

RunResult runAccelerated(MachineRunner& runner, const RunSettings& settings,
                         ProgressMeter& progress) {
    const CompiledRules rules(runner);
    // The parse wrote the description's cells from position 0 on.
    TapeCells start{std::string(static_cast<std::size_t>(settings.writtenEnd), blankSymbol), 0};
    runner.readWindow(0, settings.writtenEnd, start.cells.data());

    const auto machine = bestBlockSize(rules, start, runner.headPosition(), settings.maxSteps);
    while (!machine->advance(crossingsPerUpdate)) {
        if (const auto steps = int64Of(machine->steps())) {
            progress.update(*steps, CompressedTapeSize{machine->runCount(), machine->blockSize()});
        }
    }
    progress.clear();
    return resultOf(*machine, settings);
}
