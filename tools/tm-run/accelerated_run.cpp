#include "tools/tm-run/accelerated_run.h"

#include <cstdint>
#include <optional>
#include <utility>

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
MacroMachine bestBlockSize(const CompiledRules& rules, const TapeCells& start,
                           std::int64_t headPosition, std::int64_t limit) {
    std::optional<MacroMachine> best;
    for (int blockSize = 1; blockSize <= largestBlock; ++blockSize) {
        MacroMachine trial(rules, blockSize, start, headPosition);
        if (trial.advance(limit, trialCrossings)) {
            return trial;
        }
        if (!best || trial.steps() > best->steps()) {
            best.emplace(std::move(trial));
        }
    }
    return std::move(*best);
}

RunResult resultOf(const MacroMachine& machine, const RunSettings& settings, std::int64_t limit) {
    RunResult result;
    result.steps = machine.steps();
    result.state = machine.state();
    result.headPosition = machine.headPosition();
    result.symbol = machine.symbol();
    if (machine.end() == BlockEnd::Budget) {
        result.outcome = RunOutcome::StepLimit;
    } else if (machine.end() == BlockEnd::Idle) {
        const auto probe = idleProbeStep(machine.steps(), limit);
        result.outcome = probe ? RunOutcome::Stuck : RunOutcome::StepLimit;
        result.steps = probe.value_or(limit);
    }
    if (settings.reportTape) {
        if (const auto cells = machine.writtenCells(reportableCells)) {
            result.tape = withoutOuterBlanks(*cells, result.headPosition);
        }
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

    // Without a step limit the run ends where a 64-bit count does.
    const std::int64_t limit = settings.maxSteps.value_or(INT64_MAX);
    MacroMachine machine = bestBlockSize(rules, start, runner.headPosition(), limit);
    while (!machine.advance(limit, crossingsPerUpdate)) {
        progress.update(machine.steps(),
                        CompressedTapeSize{machine.runCount(), machine.blockSize()});
    }
    progress.clear();
    return resultOf(machine, settings, limit);
}
