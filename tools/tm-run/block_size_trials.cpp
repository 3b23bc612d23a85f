#include "tools/tm-run/block_size_trials.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Slices are sized to take about this long.
constexpr auto slice = std::chrono::microseconds(100);
// A trial is over once it has made this many block crossings, long enough to
// show how well its size compresses the tape that the machine writes, or once
// it has had this long: a size that compresses nothing can take a millisecond
// for a few crossings.
constexpr std::int64_t trialCrossings = 4096;
constexpr auto trialTime = std::chrono::milliseconds(4);

// Steps per second as a base-2 logarithm, which compares without long
// products: the counts may be far past a double. A trial that has not run yet
// counts as having run a microsecond; none of 0 steps is faster than another.
double rateOf(const mpz_class& steps, BlockSizeTrials::Clock::duration time) {
    if (steps == 0) {
        return -std::numeric_limits<double>::infinity();
    }
    long exponent = 0;
    const double mantissa = mpz_get_d_2exp(&exponent, steps.get_mpz_t());
    return std::log2(mantissa) + static_cast<double>(exponent) -
           std::log2(static_cast<double>(std::max<std::int64_t>(time.count(), 1)));
}

}  // namespace

BlockSizeTrials::BlockSizeTrials(const CompiledRules& rules, const TapeCells& start,
                                 std::int64_t headPosition, std::optional<std::int64_t> limit,
                                 std::int64_t mostBytes) {
    for (int blockSize = 1; blockSize <= largestBlock; ++blockSize) {
        trials.push_back({std::make_unique<MacroMachine>(rules, blockSize, start, headPosition,
                                                         limit, mostBytes)});
    }
}

bool BlockSizeTrials::over(const Trial& trial) {
    return trial.crossings >= trialCrossings || trial.time >= trialTime;
}

BlockSizeTrials::Trial& BlockSizeTrials::next() {
    Trial* leader = nullptr;
    double leaderRate = 0;
    Trial* starved = nullptr;
    for (Trial& trial : trials) {
        if (!over(trial)) {
            const double rate = rateOf(trial.machine->steps(), trial.time);
            if (leader == nullptr || rate > leaderRate) {
                leader = &trial;
                leaderRate = rate;
            }
            if (starved == nullptr || trial.time < starved->time) {
                starved = &trial;
            }
        }
    }
    return 8 * starved->time <= leader->time ? *starved : *leader;
}

const MacroMachine* BlockSizeTrials::advance() {
    Trial& trial = next();
    const auto started = Clock::now();
    const bool ended = trial.machine->advance(trial.chunk);
    trial.crossings += trial.chunk;
    const auto took = Clock::now() - started;
    trial.time += took;
    time_ += took;
    if (trial.machine->steps() > mostSteps_) {
        mostSteps_ = trial.machine->steps();
    }
    if (ended) {
        return trial.machine.get();
    }
    if (took < slice / 2 && trial.chunk < (std::int64_t{1} << 30)) {
        trial.chunk *= 2;
    } else if (took > slice * 2 && trial.chunk > 1) {
        trial.chunk /= 2;
    }
    return nullptr;
}

std::unique_ptr<MacroMachine> BlockSizeTrials::winner() {
    if (!std::all_of(trials.begin(), trials.end(), over)) {
        return nullptr;
    }
    auto best = std::max_element(trials.begin(), trials.end(), [](const Trial& a, const Trial& b) {
        return a.machine->steps() < b.machine->steps();
    });
    return std::move(best->machine);
}
