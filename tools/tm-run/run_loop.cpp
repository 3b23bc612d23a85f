#include "tools/tm-run/run_loop.h"

#include <algorithm>

#include "tools/tm-run/big_count.h"
#include "tools/tm-run/tape_report.h"

namespace {

// Between checkpoints the loop only steps. Checkpoints come after 1, 2, 4, ...
// steps and then every `longestChunk` steps, so that the clock costs nothing
// per step.
constexpr std::int64_t silentLongestChunk = std::int64_t{1} << 20;
// Forming and writing lines is far slower; keep the progress display lively.
constexpr std::int64_t tracedLongestChunk = std::int64_t{1} << 14;

// Fills in where the run left the machine. The tape's non-blank cells lie
// within the description's cells and the stretch that the head visited.
RunResult finished(MachineRunner& runner, const RunSettings& settings, RunOutcome outcome,
                   std::int64_t steps, std::int32_t leftmostHead, std::int32_t rightmostHead) {
    RunResult result;
    result.outcome = outcome;
    result.steps = bigOf(steps);
    result.state = runner.currentState();
    result.headPosition = runner.headPosition();
    result.symbol = runner.readSymbol();
    if (settings.reportTape) {
        const std::int32_t from = std::min(leftmostHead, 0);
        const std::int32_t to = std::max(rightmostHead, settings.writtenEnd);
        // After a parse the view cursor's block starts at position 0, and the
        // step reports only ever read a window that leaves it there.
        TapeCells tape{
            std::string(static_cast<std::size_t>(std::int64_t{to} - from + 1), blankSymbol), from};
        runner.readWindow(from, static_cast<std::int32_t>(tape.cells.size()), tape.cells.data());
        result.tape = withoutOuterBlanks(tape, runner.headPosition());
        result.counts = countsOf(*result.tape);
        if (settings.countsOnly) {
            result.tape.reset();
        }
    }
    return result;
}

template <bool trackHead, typename StepOnce, typename KeepGoing>
RunResult drive(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress,
                std::int64_t longestChunk, StepOnce stepOnce, KeepGoing keepGoing) {
    std::int64_t steps = 0;
    std::int32_t leftmostHead = runner.headPosition();
    std::int32_t rightmostHead = leftmostHead;
    const auto noteHead = [&] {
        if constexpr (trackHead) {
            const std::int32_t position = runner.headPosition();
            leftmostHead = std::min(leftmostHead, position);
            rightmostHead = std::max(rightmostHead, position);
        }
    };
    const auto finishWith = [&](RunOutcome outcome) {
        progress.clear();
        return finished(runner, settings, outcome, steps, leftmostHead, rightmostHead);
    };

    std::int64_t chunk = 1;
    while (true) {
        const std::int64_t allowed =
            settings.maxSteps ? std::min(chunk, *settings.maxSteps - steps) : chunk;
        for (std::int64_t done = 0; done < allowed; ++done) {
            // A step that leaves state, head and symbol as they were finds the
            // same rule, or none, for ever: the run is stuck after the steps
            // that changed something. Most steps move, so the head is compared first.
            const MachineState* const state = runner.currentMachineState();
            const std::int32_t position = runner.headPosition();
            const char symbol = runner.readSymbol();
            stepOnce();
            if (!runner.isRunning()) {
                ++steps;
                noteHead();
                return finishWith(RunOutcome::Finished);
            }
            if (runner.headPosition() == position && runner.currentMachineState() == state &&
                runner.readSymbol() == symbol) {
                return finishWith(RunOutcome::Stuck);
            }
            ++steps;
            noteHead();
        }

        if (!keepGoing()) {
            return finishWith(RunOutcome::TraceFailed);
        }
        // A tape cell takes a byte. Untracked, the head may have gone up to a
        // chunk further than it stands now, a margin the ceiling can spare.
        leftmostHead = std::min(leftmostHead, runner.headPosition());
        rightmostHead = std::max(rightmostHead, runner.headPosition());
        if (std::int64_t{std::max(rightmostHead, settings.writtenEnd)} -
                std::min(leftmostHead, 0) >=
            settings.memoryCeiling) {
            return finishWith(RunOutcome::OutOfMemory);
        }
        if (settings.maxSteps && steps >= *settings.maxSteps) {
            return finishWith(RunOutcome::StepLimit);
        }
        progress.update(steps);
        chunk = std::min(chunk * 2, longestChunk);
    }
}

template <typename StepOnce, typename KeepGoing>
RunResult driveChoosingTracking(MachineRunner& runner, const RunSettings& settings,
                                ProgressMeter& progress, std::int64_t longestChunk,
                                StepOnce stepOnce, KeepGoing keepGoing) {
    if (settings.reportTape) {
        return drive<true>(runner, settings, progress, longestChunk, stepOnce, keepGoing);
    }
    return drive<false>(runner, settings, progress, longestChunk, stepOnce, keepGoing);
}

}  // namespace

RunResult runSilently(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress) {
    return driveChoosingTracking(
        runner, settings, progress, silentLongestChunk, [&] { runner.step(); },
        [] { return true; });
}

RunResult runTraced(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress,
                    const TraceWriter& trace) {
    // The first report after a parse shows the start configuration; it is not a step.
    runner.reportStep();
    return driveChoosingTracking(
        runner, settings, progress, tracedLongestChunk, [&] { runner.reportStep(); },
        [&] { return !trace.failed(); });
}
