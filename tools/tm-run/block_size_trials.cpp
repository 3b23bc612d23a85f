#include "tools/tm-run/block_size_trials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// Slices are sized to take about this long.
constexpr auto slice = std::chrono::microseconds(100);
// A trial is over once it has made this many block crossings, long enough to
// show how well its size compresses the tape that the machine writes, or once
// it has had this long: a size that compresses nothing can take a millisecond
// for a few crossings.
constexpr std::int64_t trialCrossings = 4096;
constexpr auto trialTime = std::chrono::milliseconds(4);

// Once the leader's proofs skip ahead, every other size still gets this
// share of its time at least; before, this one.
constexpr int provenLeaderShare = 32;
constexpr int leaderShare = 4;

// Steps per second and per cell of block, as a base-2 logarithm, which
// compares without long products: the counts may be far past a double. Before
// proofs skip anything, a crossing of a larger block makes more steps, whether
// or not the size will ever compress the tape; per cell, the sizes start
// alike. A trial that has not run yet counts as having run a microsecond;
// none of 0 steps is faster than another.
double rateOf(const TrialStanding& trial) {
    if (*trial.steps == 0) {
        return -std::numeric_limits<double>::infinity();
    }
    long exponent = 0;
    const double mantissa = mpz_get_d_2exp(&exponent, trial.steps->get_mpz_t());
    return std::log2(mantissa) + static_cast<double>(exponent) -
           std::log2(static_cast<double>(std::max<std::int64_t>(trial.time.count(), 1))) -
           std::log2(trial.blockSize);
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

std::size_t nextTurn(std::span<const TrialStanding> trials) {
    std::optional<std::size_t> leader;
    std::optional<std::size_t> starved;
    double leaderRate = 0;
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const TrialStanding& trial = trials[i];
        if (trial.over) {
            continue;
        }
        const double rate = rateOf(trial);
        if (!leader ||
            std::pair(trial.proves, rate) > std::pair(trials[*leader].proves, leaderRate)) {
            leader = i;
            leaderRate = rate;
        }
        if (!starved || trial.time < trials[*starved].time) {
            starved = i;
        }
    }
    const int share = trials[*leader].proves ? provenLeaderShare : leaderShare;
    return share * trials[*starved].time <= trials[*leader].time ? *starved : *leader;
}

BlockSizeTrials::Trial& BlockSizeTrials::next() {
    std::array<TrialStanding, largestBlock> standings;
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const MacroMachine& machine = *trials[i].machine;
        standings[i] = {&machine.steps(), trials[i].time, machine.blockSize(),
                        machine.rulesApplied() > 0, over(trials[i])};
    }
    return trials[nextTurn(std::span(standings).first(trials.size()))];
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
