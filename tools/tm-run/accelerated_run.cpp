#include "tools/tm-run/accelerated_run.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "tools/tm-run/big_count.h"
#include "tools/tm-run/block_size_trials.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/cpu_clock.h"
#include "tools/tm-run/flat_stepper.h"
#include "tools/tm-run/macro_machine.h"
#include "tools/tm-run/tape_report.h"

namespace {

// The plain stepper's tape starts with room to each side for every step that
// the limit allows, so that it is never copied, but with no more than the
// first of these; without a limit, with the second. Room costs only address
// space until it is used, but Windows counts it against its memory all along.
constexpr std::int64_t mostFlatRoom = std::int64_t{1} << 26;
constexpr std::int64_t unlimitedFlatRoom = std::int64_t{1} << 24;
// A plain stepper this far behind the macro machine is dropped.
constexpr std::int64_t flatKeptSteps = std::int64_t{1} << 24;

// The outcome as plain stepping reports it.
void setOutcome(RunResult& result, BlockEnd end) {
    if (end == BlockEnd::Budget) {
        result.outcome = RunOutcome::StepLimit;
    } else if (end == BlockEnd::Endless) {
        result.outcome = RunOutcome::Endless;
    } else if (end == BlockEnd::Idle) {
        result.outcome = RunOutcome::Stuck;
    } else if (end == BlockEnd::OutOfMemory) {
        result.outcome = RunOutcome::OutOfMemory;
    }
}

RunResult resultOf(const FlatStepper& stepper, const RunSettings& settings) {
    RunResult result;
    result.steps = bigOf(stepper.steps());
    result.state = stepper.state();
    result.headPosition = bigOf(stepper.headPosition());
    result.symbol = stepper.symbol();
    setOutcome(result, *stepper.end());
    if (settings.reportTape) {
        result.tape = stepper.writtenCells();
        result.counts = countsOf(*result.tape);
        if (settings.countsOnly) {
            result.tape.reset();
        }
    }
    return result;
}

RunResult resultOf(const MacroMachine& machine, const RunSettings& settings) {
    RunResult result;
    result.steps = machine.steps();
    result.state = machine.state();
    result.headPosition = machine.headPosition();
    result.symbol = machine.symbol();
    setOutcome(result, machine.end());
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

    // Most runs are short, and blocks do not compress every machine: a plain
    // stepper, about twice as fast as the engine's stepping, runs first. From
    // then on the block-size trials get half of the time, so that a run that
    // the stepper ends costs about what the engine's stepping would, or most
    // of it once one of them has made more steps per second of all their
    // time, until one of them wins; then the macro machine and the plain
    // stepper race, the one that has made more steps per second getting most
    // of the time, the other a thirty-second. Whichever ends first gives the
    // result. Once the macro machine is far ahead, the stepper and its tape go.
    using Clock = CpuClock;
    std::optional<FlatStepper> flat;
    flat.emplace(
        rules, start, runner.headPosition(),
        settings.maxSteps ? std::min(*settings.maxSteps, mostFlatRoom) + 1 : unlimitedFlatRoom,
        settings.memoryCeiling);
    std::optional<BlockSizeTrials> trials;
    std::unique_ptr<MacroMachine> machine;
    Clock::duration macroTime{};
    Clock::duration flatTime{};
    std::int64_t macroChunk = 256;
    std::int64_t flatChunk = 1 << 12;
    // Chunks are sized to take about this long; while the trials run, a
    // tenth of that, as the plain stepper's share is half until a trial is
    // faster: a trial that ends the run then waits less for it.
    // In microseconds, as a tenth of whole milliseconds would be none.
    const Clock::duration wholeSlice = std::chrono::milliseconds(2);
    const auto resize = [&](std::int64_t& chunk, Clock::duration took) {
        const Clock::duration slice = machine ? wholeSlice : wholeSlice / 10;
        if (took < slice / 2 && chunk < (std::int64_t{1} << 40)) {
            chunk *= 2;
        } else if (took > slice * 2 && chunk > 1) {
            chunk /= 2;
        }
    };
    while (true) {
        // The faster so far in steps per second leads: the macro machine, or
        // before there is one, the trial that has made the most steps in all
        // the trials' time.
        const mpz_class* macroSteps = machine  ? &machine->steps()
                                      : trials ? &trials->mostSteps()
                                               : nullptr;
        bool macroAhead = !flat;
        if (flat && macroSteps != nullptr) {
            const auto steps = int64Of(*macroSteps);
            macroAhead =
                !steps ||
                static_cast<double>(*steps) * static_cast<double>(flatTime.count()) >=
                    static_cast<double>(flat->steps()) * static_cast<double>(macroTime.count());
        }
        bool runMacro = true;
        if (flat && macroAhead) {
            runMacro = macroTime <= 32 * flatTime;
        } else if (flat) {
            runMacro = machine ? 32 * macroTime < flatTime : macroTime < flatTime;
        }
        if (runMacro && !machine) {
            if (!trials) {
                trials.emplace(rules, start, runner.headPosition(), settings.maxSteps,
                               settings.memoryCeiling);
            }
            // The trials time themselves: a reading of the processor clock is a
            // system call, which costs microseconds, and their slices are short.
            const auto before = trials->time();
            const MacroMachine* ended = trials->advance();
            macroTime += trials->time() - before;
            if (ended != nullptr) {
                progress.clear();
                return resultOf(*ended, settings);
            }
            if ((machine = trials->winner())) {
                trials.reset();
            }
        } else if (runMacro) {
            const auto started = Clock::now();
            const bool ended = machine->advance(macroChunk);
            const auto took = Clock::now() - started;
            if (ended) {
                progress.clear();
                return resultOf(*machine, settings);
            }
            macroTime += took;
            resize(macroChunk, took);
        } else {
            const auto started = Clock::now();
            const bool ended = flat->advance(flatChunk, settings.maxSteps);
            const auto took = Clock::now() - started;
            if (flat->end() == BlockEnd::OutOfMemory) {
                // The macro machine may yet compress what the flat tape cannot hold.
                flat.reset();
                continue;
            }
            if (ended) {
                progress.clear();
                return resultOf(*flat, settings);
            }
            flatTime += took;
            resize(flatChunk, took);
        }
        if (!machine) {
            if (flat) {
                progress.update(flat->steps());
            }
            continue;
        }
        // The plain stepper goes when far behind, or when it could never count
        // as far as the macro machine has come.
        if (flat &&
            (!int64Of(machine->steps()) ||
             (flat->steps() > flatKeptSteps && machine->steps() > 64 * bigOf(flat->steps())))) {
            flat.reset();
        }
        const mpz_class& ahead = flat && !macroAhead ? bigOf(flat->steps()) : machine->steps();
        if (const auto steps = int64Of(ahead)) {
            progress.update(*steps, CompressedTapeSize{machine->runCount(), machine->blockSize()});
        }
    }
}
