#include "tools/tm-run/accelerated_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "tests/engine/recording_log_sink.h"
#include "tools/tm-run/big_count.h"
#include "tools/tm-run/block_size_trials.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/flat_stepper.h"
#include "tools/tm-run/macro_machine.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/proof_system.h"
#include "tools/tm-run/standard_notation.h"

namespace {

// The start of a run: the rules, the cells that the parse laid and the head.
struct Start {
    explicit Start(const std::string& text) : runner(&logs, &logs, &logs) {
        EXPECT_EQ(runner.parse(text.c_str()), 1) << text;
        rules.emplace(runner);
        tape.cells.assign(text.size(), blankSymbol);
        runner.readWindow(0, static_cast<std::int32_t>(text.size()), tape.cells.data());
    }

    RecordingLogSink logs;
    MachineRunner runner;
    std::optional<CompiledRules> rules;
    TapeCells tape;
};

// Runs `text` once one rule at a time and once skipping ahead, and expects the
// same result in every respect.
void expectSameRun(const std::string& text, std::optional<std::int64_t> maxSteps) {
    RecordingLogSink logs;
    MachineRunner plainRunner(&logs, &logs, &logs);
    MachineRunner acceleratedRunner(&logs, &logs, &logs);
    ASSERT_EQ(plainRunner.parse(text.c_str()), 1) << text;
    acceleratedRunner.parse(text.c_str());
    const RunSettings settings{maxSteps, true, static_cast<std::int32_t>(text.size())};
    ProgressMeter silent(stderr, false);

    const RunResult plain = runSilently(plainRunner, settings, silent);
    const RunResult accelerated = runAccelerated(acceleratedRunner, settings, silent);
    const std::string context = text + "--max-steps " + std::to_string(maxSteps.value_or(-1));
    ASSERT_EQ(accelerated.outcome, plain.outcome) << context;
    ASSERT_EQ(accelerated.steps, plain.steps) << context;
    ASSERT_EQ(accelerated.state, plain.state) << context;
    ASSERT_EQ(accelerated.headPosition, plain.headPosition) << context;
    ASSERT_EQ(accelerated.symbol, plain.symbol) << context;
    ASSERT_TRUE(accelerated.tape && plain.tape) << context;
    ASSERT_EQ(accelerated.tape->cells, plain.tape->cells) << context;
    ASSERT_EQ(accelerated.tape->firstPosition, plain.tape->firstPosition) << context;

    // Either of the two steppers may have given that result: each alone must
    // agree too, the macro machine with any block size.
    const Start start(text);
    const CompiledRules& rules = *start.rules;
    // Little room, so that the tape is copied into longer ones again and again.
    FlatStepper flat(rules, start.tape, start.runner.headPosition(), 1);
    while (!flat.advance(1 << 16, maxSteps)) {
    }
    const std::string flatContext = context + ", one rule at a time";
    ASSERT_EQ(flat.end() == BlockEnd::Finished, plain.outcome == RunOutcome::Finished)
        << flatContext;
    ASSERT_EQ(flat.steps(), plain.steps) << flatContext;
    ASSERT_EQ(flat.state(), plain.state) << flatContext;
    ASSERT_EQ(flat.headPosition(), plain.headPosition) << flatContext;
    ASSERT_EQ(flat.symbol(), plain.symbol) << flatContext;
    ASSERT_EQ(flat.writtenCells(), *plain.tape) << flatContext;

    const int blockSize = 1 + static_cast<int>(std::hash<std::string>()(text) % largestBlock);
    MacroMachine macro(rules, blockSize, start.tape, start.runner.headPosition(), maxSteps);
    while (!macro.advance(1 << 16)) {
    }
    const std::string macroContext = context + ", block size " + std::to_string(blockSize);
    ASSERT_EQ(macro.steps(), plain.steps) << macroContext;
    ASSERT_EQ(macro.state(), plain.state) << macroContext;
    ASSERT_EQ(macro.headPosition(), plain.headPosition) << macroContext;
    const auto cells = macro.writtenCells(reportableCells);
    ASSERT_TRUE(cells) << macroContext;
    ASSERT_EQ(withoutOuterBlanks(*cells, *int64Of(macro.headPosition())), *plain.tape)
        << macroContext;

    // The trials of every size, to whichever of them ends first, or the winner.
    BlockSizeTrials trials(rules, start.tape, start.runner.headPosition(), maxSteps);
    const MacroMachine* trialsEnd = nullptr;
    std::unique_ptr<MacroMachine> winner;
    while (!(trialsEnd = trials.advance()) && !(winner = trials.winner())) {
    }
    // What the stepper beside them is measured against.
    ASSERT_GE(trials.mostSteps(), winner ? winner->steps() : trialsEnd->steps()) << context;
    if (winner) {
        while (!winner->advance(1 << 16)) {
        }
        trialsEnd = winner.get();
    }
    const std::string trialsContext = context + ", block size trials";
    ASSERT_TRUE(trialsEnd->end() == BlockEnd::Idle || trialsEnd->steps() == plain.steps)
        << trialsContext;
    ASSERT_EQ(trialsEnd->headPosition(), plain.headPosition) << trialsContext;
}

std::string ruleLine(char state, char symbol, char next, char write, char move) {
    return std::string{'(', state, ',', symbol, ',', next, ',', write, ',', move, ')', '\n'};
}

// Every two-state, two-symbol machine with moves L and R and a halt state,
// from a blank tape: 12 choices for each of 4 rules.
TEST(AcceleratedRun, AgreesWithPlainSteppingOnEveryTwoStateMachine) {
    std::mt19937_64 random(2);
    const std::string states = "AB";
    const std::string symbols = "^1";
    for (int machine = 0; machine < 12 * 12 * 12 * 12; ++machine) {
        std::string text = "tape()\nstart(A)\nfinish(H)\n";
        int choices = machine;
        for (const char state : states) {
            for (const char symbol : symbols) {
                const int choice = choices % 12;
                choices /= 12;
                text += ruleLine(state, symbol, "ABH"[choice % 3], symbols[choice / 3 % 2],
                                 "LR"[choice / 6]);
            }
        }
        expectSameRun(text, std::uniform_int_distribution<std::int64_t>(0, 2000)(random));
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// How many random machines: TM_RUN_RANDOM_MACHINES, or 20,000.
int randomMachineCount() {
    const char* count = std::getenv("TM_RUN_RANDOM_MACHINES");
    return count != nullptr ? std::atoi(count) : 20'000;
}

// A random machine of 3 or 4 states and 2 or 3 symbols. Some rules are
// missing, some do not move, and some start on a written tape, so that runs
// also end stuck, loop inside a few cells and start in the middle of a block.
std::string randomMachine(std::mt19937_64& random) {
    const auto below = [&](int bound) {
        return std::uniform_int_distribution<int>(0, bound - 1)(random);
    };
    const std::string states = below(2) == 0 ? "ABC" : "ABCD";
    const std::string symbols = below(2) == 0 ? "^1" : "^12";
    std::string tape;
    if (below(4) == 0) {
        for (int cell = below(12); cell > 0; --cell) {
            tape += symbols[below(static_cast<int>(symbols.size()))];
        }
        tape.insert(static_cast<std::size_t>(below(static_cast<int>(tape.size()) + 1)), ".");
    }
    std::string text = "tape(" + tape + ")\nstart(A)\nfinish(H)\n";
    for (const char state : states) {
        for (const char symbol : symbols) {
            if (below(16) == 0) {
                continue;
            }
            const char next = below(8) == 0 ? 'H' : states[below(static_cast<int>(states.size()))];
            text += ruleLine(state, symbol, next, symbols[below(static_cast<int>(symbols.size()))],
                             below(10) == 0 ? 'N' : "LR"[below(2)]);
        }
    }
    return text;
}

TEST(AcceleratedRun, AgreesWithPlainSteppingOnRandomMachines) {
    std::mt19937_64 random(3);
    for (int machine = randomMachineCount(); machine > 0; --machine) {
        const std::string text = randomMachine(random);
        // Mostly short limits, which cut runs anywhere; now and then a long one.
        const std::int64_t limit = std::uniform_int_distribution<std::int64_t>(
            0, machine % 50 == 0 ? 200'000 : 5'000)(random);
        expectSameRun(text, limit);
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// Without a limit, no run stops for one; a run proven endless makes ten
// million plain steps without finishing, and one that ends, ends as they do.
TEST(AcceleratedRun, WithoutALimitEveryVerdictIsTrue) {
    std::mt19937_64 random(7);
    for (int machine = 0; machine < 32 + randomMachineCount() / 200; ++machine) {
        std::string text = randomMachine(random);
        if (machine < 32) {
            // Machines that walk 1 to 8 cells and then swing between two for
            // ever, inside a block or across two, whatever they write.
            const char last = static_cast<char>('a' + machine / 4);
            text = "tape()\nstart(a)\nfinish(H)\n";
            for (char state = 'a'; state <= last; ++state) {
                text += ruleLine(state, '^', state < last ? static_cast<char>(state + 1) : 'P', '1',
                                 'R');
            }
            for (const char symbol : {'^', '1'}) {
                text += ruleLine('P', symbol, 'Q', "^1"[machine % 2], 'R');
                text += ruleLine('Q', symbol, 'P', "^1"[machine / 2 % 2], 'L');
            }
        }
        const Start start(text);
        const int blockSize = 1 + static_cast<int>(std::hash<std::string>()(text) % largestBlock);
        MacroMachine macro(*start.rules, blockSize, start.tape, start.runner.headPosition(),
                           std::nullopt);
        for (int round = 0; round < 16 && !macro.advance(1 << 12); ++round) {
        }
        FlatStepper flat(*start.rules, start.tape, start.runner.headPosition(), 1 << 12);
        while (macro.ended() && !flat.advance(1 << 20, 10'000'000)) {
        }
        const std::string context = text + "block size " + std::to_string(blockSize);
        if (macro.ended() && (macro.end() == BlockEnd::Endless || macro.steps() <= 10'000'000)) {
            ASSERT_EQ(flat.end(), macro.end() == BlockEnd::Endless ? BlockEnd::Budget : macro.end())
                << context;
            ASSERT_TRUE(macro.end() == BlockEnd::Endless || bigOf(flat.steps()) == macro.steps())
                << context;
        }
    }
}

// A run whose tape would grow past the memory ceiling stops, in each mode.
TEST(AcceleratedRun, ARunStopsAtTheMemoryCeiling) {
    // The five-state champion's tape reaches 12,243 cells, more than these.
    constexpr std::int64_t ceiling = 1 << 8;
    Start plain(translateStandardNotation("1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA").description);
    Start accelerated(translateStandardNotation("1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA").description);
    const RunSettings settings{std::nullopt, false, 0, false, ceiling};
    ProgressMeter silent(stderr, false);
    EXPECT_EQ(runSilently(plain.runner, settings, silent).outcome, RunOutcome::OutOfMemory);
    EXPECT_EQ(runAccelerated(accelerated.runner, settings, silent).outcome,
              RunOutcome::OutOfMemory);
    FlatStepper flat(*plain.rules, plain.tape, 0, 1, ceiling);
    while (!flat.advance(1 << 16, std::nullopt)) {
    }
    EXPECT_EQ(flat.end(), BlockEnd::OutOfMemory);
}

// The turn between two block-size trials, each given as steps, microseconds,
// block size and whether its proofs skip ahead.
TEST(BlockSizeTrials, TheTurnGoesToTheSizeThatProvesAndStillToTheOthers) {
    const struct {
        const char* what;
        int steps[2], time[2], blockSize[2];
        bool proves[2];
        std::size_t turn;
    } rows[] = {
        {"proofs lead a faster size", {100'000, 1000}, {100, 100}, {1, 1}, {false, true}, 1},
        {"steps count per cell of block", {400, 100}, {100, 100}, {8, 1}, {false, false}, 1},
        {"past a proving leader's 32nd", {1'000'000, 10}, {320, 11}, {2, 2}, {true, false}, 0},
        {"a leader's quarter", {1'000'000, 10}, {40, 10}, {2, 2}, {false, false}, 1},
    };
    for (const auto& row : rows) {
        const mpz_class steps[] = {row.steps[0], row.steps[1]};
        std::vector<TrialStanding> standings;
        for (const int i : {0, 1}) {
            standings.push_back({&steps[i], std::chrono::microseconds(row.time[i]),
                                 row.blockSize[i], row.proves[i], false});
        }
        EXPECT_EQ(nextTurn(standings), row.turn) << row.what;
    }
}

// A rule proven with a run kept fixed, so for its length alone, applies once
// if it changes that run. Here each application adds an a to a fixed run of
// five a's: applied for ever, it would call the run endless.
TEST(AcceleratedRun, ARuleThatChangesAFixedRunAppliesOnce) {
    constexpr BlockId a = 1;
    constexpr BlockId c = 2;
    // In state 0 over the blank: write an a, turn (state 1), come back over it (state 2).
    const Crossing crossings[] = {{a, 1, true, 1}, {0, 2, false, 1}, {a, 0, true, 1}};
    ProofSystem prover([&](StateIndex state, bool facingRight, BlockId block) -> const Crossing* {
        const bool known = state < 2 ? facingRight && block == 0 : !facingRight && block == a;
        return known ? &crossings[state] : nullptr;
    });
    MacroTape tape;
    std::optional<Jump> jump;
    // Seen with 7 c's, then elsewhere (state 1), then with 9: the a's kept five.
    for (const int cs : {7, 1, 1, 9}) {
        tape.state = cs == 1 ? 1 : 0;
        tape.left = {{c, cs}, {a, 5}};
        jump = prover.consider(tape, std::nullopt);
    }
    ASSERT_TRUE(jump);
    EXPECT_FALSE(jump->endless);
    EXPECT_EQ(jump->steps, 3);
    EXPECT_EQ(tape.left.back().count, 6);
}

// A run that a rule held fixed, and that an outer loop then changes, is a
// variable of the next proof when that proof holds: the rule stored then fits
// the next round at once. Each round here moves a c to the d's beside an
// untouched run of a's, which has a new length in each of three rounds.
TEST(AcceleratedRun, ARunThatOutgrewItsFixedLengthIsProvenVariable) {
    constexpr BlockId a = 1;
    constexpr BlockId c = 2;
    constexpr BlockId d = 3;
    // A c becomes a d (state 1), the next c is looked at (state 2), and the d too.
    const Crossing crossings[] = {{d, 1, true, 1}, {c, 2, false, 1}, {d, 0, true, 1}};
    ProofSystem prover([&](StateIndex state, bool facingRight, BlockId block) -> const Crossing* {
        return block == (state < 2 ? c : d) && facingRight == (state < 2) ? &crossings[state]
                                                                          : nullptr;
    });
    MacroTape tape;
    const auto see = [&](StateIndex state, int as, int ds, int cs) {
        tape = {{{a, as}, {d, ds}}, {{c, cs}}, state, state < 2};
        return prover.consider(tape, std::nullopt);
    };
    const auto round = [&](int as) {
        EXPECT_FALSE(see(0, as, 1, 20)) << as << " a's";
        see(1, as, 2, 19);
        see(2, as, 2, 19);
        return see(0, as, 2, 19);
    };
    ASSERT_TRUE(round(5));
    ASSERT_TRUE(round(7));
    const auto jump = see(0, 9, 1, 20);
    ASSERT_TRUE(jump);
    EXPECT_EQ(jump->steps, 3 * 19);
    EXPECT_EQ(tape.left.front().count, 9);
}

// A proof that takes a block off a run which, for the shortest lengths the
// rule claims, is already used up proves nothing: here it would jump to a
// wrong tape after 160 steps.
TEST(AcceleratedRun, NoRuleTakesABlockFromARunThatMayBeEmpty) {
    expectSameRun(
        "tape(.^^2)\nstart(A)\nfinish(H)\n"
        "(A,^,B,1,L)\n(A,1,B,^,L)\n(A,2,A,2,L)\n"
        "(B,^,B,2,R)\n(B,1,B,2,R)\n(B,2,C,2,R)\n"
        "(C,^,A,2,L)\n(C,1,H,^,R)\n(C,2,C,1,R)\n",
        2512);
}

// After every rule that the proof system applies, the machine stands where
// plain stepping stands after as many steps: same state, head and tape.
TEST(AcceleratedRun, EveryAppliedRuleLandsWherePlainSteppingDoes) {
    std::mt19937_64 random(5);
    const auto below = [&](int bound) {
        return std::uniform_int_distribution<int>(0, bound - 1)(random);
    };
    int checked = 0;
    for (int machine = 0; machine < 400; ++machine) {
        // Every rule defined and none halting, so that runs last and counters form.
        const std::string states = machine % 2 == 0 ? "ABC" : "ABCD";
        const std::string symbols = machine % 4 < 2 ? "^1" : "^12";
        std::string text = "tape()\nstart(A)\nfinish(H)\n";
        for (const char state : states) {
            for (const char symbol : symbols) {
                text += ruleLine(state, symbol, states[below(static_cast<int>(states.size()))],
                                 symbols[below(static_cast<int>(symbols.size()))], "LR"[below(2)]);
            }
        }
        RecordingLogSink logs;
        const Start start(text);
        const int blockSize = 1 + machine % 3;
        MacroMachine macro(*start.rules, blockSize, start.tape, start.runner.headPosition(),
                           50'000);
        for (std::int64_t applied = 0, rounds = 0; rounds < 100'000 && !macro.advance(1);
             ++rounds) {
            if (macro.rulesApplied() == applied) {
                continue;
            }
            applied = macro.rulesApplied();
            const std::int64_t steps = *int64Of(macro.steps());
            MachineRunner plainRunner(&logs, &logs, &logs);
            plainRunner.parse(text.c_str());
            ProgressMeter silent(stderr, false);
            const RunResult plain = runSilently(
                plainRunner, {steps, true, static_cast<std::int32_t>(text.size())}, silent);
            const std::string context = text + "block size " + std::to_string(blockSize) +
                                        ", rule " + std::to_string(applied) + " after " +
                                        std::to_string(steps) + " steps";
            ASSERT_EQ(plain.outcome, RunOutcome::StepLimit) << context;
            ASSERT_EQ(macro.state(), plain.state) << context;
            ASSERT_EQ(macro.headPosition(), plain.headPosition) << context;
            const auto cells = macro.writtenCells(reportableCells);
            ASSERT_TRUE(cells && plain.tape) << context;
            const TapeCells written = withoutOuterBlanks(*cells, *int64Of(macro.headPosition()));
            ASSERT_EQ(written, *plain.tape) << context;
            ++checked;
        }
    }
    // Enough rules to mean something: fewer would hint that none are found.
    EXPECT_GT(checked, 200);
}

}  // namespace
