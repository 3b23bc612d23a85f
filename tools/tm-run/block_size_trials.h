#ifndef ZARN_TOOLS_TM_RUN_BLOCK_SIZE_TRIALS_H
#define ZARN_TOOLS_TM_RUN_BLOCK_SIZE_TRIALS_H

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/cpu_clock.h"
#include "tools/tm-run/macro_machine.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/tape_cells.h"

// What the turn among the trials goes by.
struct TrialStanding {
    const mpz_class* steps;
    CpuClock::duration time;
    int blockSize;
    bool proves;  // the proof system has skipped ahead
    bool over;
};

// Whose turn it is, of the trials not over (one at least). A trial whose
// proofs skip ahead leads one whose proofs do not; of those alike, the one
// that has made the most steps per second and per cell of its block. The
// turn goes to the leader unless another has had no more than a
// thirty-second of its time, or a quarter while its proofs skip nothing: the
// size that compresses the tape soon leads and ends a run nearly alone, and
// every size is still tried.
std::size_t nextTurn(std::span<const TrialStanding> trials);

// A macro machine of every block size, each from the start, taking turns in
// short slices of time, as nextTurn shares them out.
class BlockSizeTrials {
public:
    using Clock = CpuClock;

    // Never more than `limit` steps, if one is given, and about `mostBytes` kept
    // by each trial.
    BlockSizeTrials(const CompiledRules& rules, const TapeCells& start, std::int64_t headPosition,
                    std::optional<std::int64_t> limit, std::int64_t mostBytes = memoryCeilingBytes);

    // Runs one slice, while there is no winner. Returns the machine whose run
    // has ended, if one has.
    const MacroMachine* advance();
    // Once every trial is over, the one that got furthest; then the trials
    // are done with.
    std::unique_ptr<MacroMachine> winner();
    // The most steps that a trial has made.
    const mpz_class& mostSteps() const { return mostSteps_; }
    // The time that all the trials have had.
    Clock::duration time() const { return time_; }

private:
    struct Trial {
        std::unique_ptr<MacroMachine> machine;
        Clock::duration time{};
        std::int64_t crossings = 0;
        std::int64_t chunk = 1;  // crossings in the next slice
    };
    static bool over(const Trial& trial);
    // Whose turn it is, of those not over.
    Trial& next();

    std::vector<Trial> trials;
    mpz_class mostSteps_ = 0;
    Clock::duration time_{};
};

#endif
