#include "tools/tm-run/run_loop.h"

#include <algorithm>

namespace {

// Between checkpoints the loop only steps. Checkpoints come after 1, 2, 4, ...
// steps, so that a machine stuck early is noticed early, and then every
// `longestChunk` steps, so that the clock and the probe cost nothing per step.
constexpr std::int64_t silentLongestChunk = std::int64_t{1} << 20;
// Forming and writing lines is far slower; keep the progress display lively.
constexpr std::int64_t tracedLongestChunk = std::int64_t{1} << 14;

// All that a step can change: with these three unchanged, the next step sees
// the same state and symbol, and so does every step after it.
struct Configuration {
    const char* state;
    std::int32_t headPosition;
    char symbol;

    bool operator==(const Configuration&) const = default;
};

Configuration configurationOf(const MachineRunner& runner) {
    return {runner.currentState(), runner.headPosition(), runner.readSymbol()};
}

template <bool trackHead, typename StepOnce, typename KeepGoing>
RunResult drive(MachineRunner& runner, const RunSettings& settings, ProgressMeter& progress,
                std::int64_t longestChunk, StepOnce stepOnce, KeepGoing keepGoing) {
    RunResult result;
    result.leftmostHead = result.rightmostHead = runner.headPosition();
    const auto noteHead = [&] {
        if constexpr (trackHead) {
            const std::int32_t position = runner.headPosition();
            result.leftmostHead = std::min(result.leftmostHead, position);
            result.rightmostHead = std::max(result.rightmostHead, position);
        }
    };
    const auto finishWith = [&](RunOutcome outcome) {
        result.outcome = outcome;
        progress.clear();
        return result;
    };

    std::int64_t chunk = 1;
    while (true) {
        const std::int64_t allowed =
            settings.maxSteps ? std::min(chunk, *settings.maxSteps - result.steps) : chunk;
        std::int64_t done = 0;
        while (done < allowed && runner.isRunning()) {
            stepOnce();
            noteHead();
            ++done;
        }
        result.steps += done;

        if (!runner.isRunning()) {
            return finishWith(RunOutcome::Finished);
        }
        if (!keepGoing()) {
            return finishWith(RunOutcome::TraceFailed);
        }
        if (settings.maxSteps && result.steps >= *settings.maxSteps) {
            return finishWith(RunOutcome::StepLimit);
        }

        // The probe is a real step, counted like any other.
        const Configuration before = configurationOf(runner);
        stepOnce();
        noteHead();
        ++result.steps;
        if (!runner.isRunning()) {
            return finishWith(RunOutcome::Finished);
        }
        if (configurationOf(runner) == before) {
            return finishWith(RunOutcome::Stuck);
        }

        progress.update(result.steps);
        chunk = std::min(chunk * 2, longestChunk);
    }
}

template <typename StepOnce, typename KeepGoing>
RunResult driveChoosingTracking(MachineRunner& runner, const RunSettings& settings,
                                ProgressMeter& progress, std::int64_t longestChunk,
                                StepOnce stepOnce, KeepGoing keepGoing) {
    if (settings.trackHead) {
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
