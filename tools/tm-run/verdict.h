#ifndef ZARN_TOOLS_TM_RUN_VERDICT_H
#define ZARN_TOOLS_TM_RUN_VERDICT_H

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/tm-run/decider_run.h"
#include "tools/tm-run/tape_cells.h"

enum class VerdictKind {
    Undecided,
    Halts,
    Cycler,              // the same whole configuration at steps t1 < t2
    TranslatedCycler,    // records at t1 < t2, in the same state, the same cells behind
    ProvenRule,          // a proven rule that shortens no run
    HaltingUnreachable,  // no configuration leads to a halt in `depth` steps
    ClosedTapeLanguage,  // `windows` are closed under the steps and hold no halt
    RepeatedWords,       // `words` are closed under the blocks' steps and hold no halt
    FiniteAutomata,      // `automata` recognise every halt and its past, not the start
};
constexpr int verdictKindCount = static_cast<int>(VerdictKind::FiniteAutomata) + 1;

// A run of equal stretches of cells in a proven rule's configuration.
struct RuleRun {
    std::string cells;  // one stretch, as symbol names
    mpz_class length;   // how many stretches when the rule first applies
    mpz_class growth;   // added by each application, never negative
};

// Where the head stands in a proven rule's configuration: on the first cell
// of the right runs, or on the last of the left ones. Beyond the runs the
// tape is blank.
struct RuleCertificate {
    std::vector<RuleRun> left;   // from the far end to the head
    std::vector<RuleRun> right;  // from the far end to the head
    int state = 0;
    bool facingRight = true;
    mpz_class reachedAt;   // the step at which the machine first stands there
    mpz_class firstSteps;  // the steps of the first application
    mpz_class stepGrowth;  // how many more steps each next application takes
};

// What the closed tape language decider proves. The tape is cut into blocks
// of `blockSize` cells, as from the start cell on. On each side of the head's
// block, every stretch of `width` neighbouring blocks belongs to a set, and
// the head with its neighbourhood is always one of `neighbourhoods`; together
// closed under the machine's steps, holding the blank start and no halt.
struct WindowCertificate {
    int blockSize = 0;
    int width = 0;
    // A block's cells are the digits of a number in base symbolCount, its
    // first cell the lowest; a window's blocks are the digits of a number in
    // base symbolCount^blockSize, the block nearest the head the lowest.
    std::vector<std::uint64_t> left;
    std::vector<std::uint64_t> right;
    struct Neighbourhood {
        std::uint64_t left;
        int state;
        std::uint32_t block;
        int offset;  // the head's cell in its block
        std::uint64_t right;

        bool operator<(const Neighbourhood& other) const;
    };
    std::vector<Neighbourhood> neighbourhoods;
    // The cells are those of `writerHistoryMachine`: symbol and writer.
    bool cellsHoldWriter = false;
};

// A run of one block repeated `count` times; at the threshold, that many or more.
struct WordRun {
    std::uint64_t word = 0;  // a block's cells, as WindowCertificate numbers them
    int count = 1;

    auto operator<=>(const WordRun&) const = default;
};

// The tape between blocks of `blockSize` cells, cut as from the start cell
// on: the runs on each side, from the far end to the head, blank beyond.
struct WordListConfiguration {
    std::vector<WordRun> left;
    std::vector<WordRun> right;
    int state = 0;
    bool facingRight = true;

    auto operator<=>(const WordListConfiguration&) const = default;
};

// What the repeated word decider proves: the configurations, the blank start
// among them, are closed under taking the block ahead of the head (a run at
// the threshold may keep it or drop below), running the machine over it
// until it leaves, and putting the block behind; no halt among them.
struct WordListCertificate {
    int blockSize = 0;
    int threshold = 0;
    std::vector<WordListConfiguration> configurations;
};

// What the finite automata decider proves: the configurations that halt
// sooner or later, and more, are those that the automata recognise, and the
// blank start is not among them. A deterministic side automaton reads the
// cells on one side of the head (the left, or the right if `mirrored`) from
// the far end towards the head; it starts in its state 0, which the blank
// keeps, and ends in some state f. The rest automaton, nondeterministic,
// starts in state f * stateCount + q for the head's state q, reads the cell
// under the head and on to the far end of the other side, and recognises the
// configuration if a path reaches its last state, `haltingState()`, which
// every symbol keeps. The set holds every configuration about to halt and,
// with each configuration, all those a step before it.
struct AutomataCertificate {
    bool mirrored = false;
    int sideStates = 0;
    std::vector<std::uint8_t> side;   // by state, then symbol: the next state
    std::vector<std::uint64_t> rest;  // by symbol, then state: the next states, as bits

    int haltingState(int stateCount) const { return sideStates * stateCount; }
};

// What a decider found, with the evidence that lets another program check it.
struct Verdict {
    VerdictKind kind = VerdictKind::Undecided;
    // Halts: the steps, the halting step among them; where and on what it halted.
    mpz_class steps = 0;
    int haltState = 0;
    int haltSymbol = 0;
    // Only a halt has them: 256 big counts would cost every other verdict.
    std::optional<TapeCounts> counts;
    mpz_class headPosition = 0;
    // Cyclers: the two steps, and the head's move between them.
    std::int64_t t1 = 0;
    std::int64_t t2 = 0;
    std::int64_t shift = 0;
    int depth = 0;
    std::string rule;  // the proven rule, as a user reads it
    RuleCertificate certificate;
    WindowCertificate windows;
    WordListCertificate words;
    AutomataCertificate automata;

    bool neverHalts() const { return kind != VerdictKind::Undecided && kind != VerdictKind::Halts; }
};

// The verdict of a run whose last step halted: steps, halting transition and
// tape counts. `state` and `symbol` are what the halting step read.
Verdict haltedVerdict(const DeciderRun& run, int state, int symbol);

#endif
