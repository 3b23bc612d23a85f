#ifndef ZARN_TOOLS_TM_RUN_MACRO_MACHINE_H
#define ZARN_TOOLS_TM_RUN_MACRO_MACHINE_H

#include <gmpxx.h>

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/tm-run/block_steps.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/macro_tape.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/proof_system.h"
#include "tools/tm-run/tape_cells.h"

// Runs a machine with its tape cut into blocks of k cells, each block read as
// one symbol. Equal neighbouring blocks are kept as one run. What the machine
// does with a block between entering it at one edge and leaving it is worked
// out once, one rule at a time, and kept. A state that leaves a block on the
// side it travels to, in the same state, crosses a whole run of such blocks in
// one go (a chain step). Where the configuration recurs with its runs grown
// or shrunk by fixed amounts, the proof system jumps over the repetitions.
class MacroMachine {
public:
    // Never more than `limit` steps, if one is given, and about `mostBytes`
    // of memory for the tape and what is known about its blocks.
    MacroMachine(const CompiledRules& rules, int blockSize, const TapeCells& tape,
                 std::int64_t headPosition, std::optional<std::int64_t> limit,
                 std::int64_t mostBytes = memoryCeilingBytes);
    // The proof system keeps a way back to the machine's crossings.
    MacroMachine(const MacroMachine&) = delete;
    MacroMachine& operator=(const MacroMachine&) = delete;

    // Makes at most `macroSteps` block crossings or rule applications.
    // Returns true once the run has ended.
    bool advance(std::int64_t macroSteps);

    const mpz_class& steps() const { return steps_; }
    bool ended() const { return end_.has_value(); }
    // Why the run ended: Finished, Idle (from here on no step changes
    // anything), Budget (the limit), Endless or OutOfMemory.
    BlockEnd end() const { return *end_; }
    int blockSize() const { return blockSize_; }
    std::size_t runCount() const { return tape.left.size() + tape.right.size(); }
    std::int64_t rulesApplied() const { return prover.rulesApplied(); }
    const ProofSystem& proofs() const { return prover; }
    // The cells of a block, from left to right.
    std::string blockText(BlockId block) const;

    // Where the machine stands: between macro steps, on the cell next to the
    // edge it faces; once the run has ended, where it ended.
    const std::string& state() const;
    mpz_class headPosition() const;
    // Once the run has ended: the symbol under the head.
    char symbol() const { return last.cells[last.offset]; }
    // The blocks from the first to the last that holds a non-blank cell;
    // nothing when they hold more than `maxCells` cells.
    std::optional<TapeCells> writtenCells(std::int64_t maxCells) const;
    TapeCounts counts() const;

private:
    struct Stretch {
        std::uint64_t cells;
        const mpz_class* count;
    };

    mpz_class positionOf(const mpz_class& block, int offset) const;
    BlockId idOf(const BlockHead& head);
    static std::uint64_t crossingKey(StateIndex state, bool fromLeft, BlockId block) {
        return std::uint64_t{block} << 33 | std::uint64_t{state} << 1 | (fromLeft ? 1 : 0);
    }
    BlockHead headIn(BlockId block, StateIndex state, int offset) const;
    const Crossing* crossingFor(StateIndex state, bool fromLeft, BlockId block);
    // The index of the block on top of `right`; left's top is the one before.
    // While the head is still in its first block, that block's index.
    mpz_class edge() const;
    void take(std::vector<TapeRun>& stack, const mpz_class& count);
    void put(std::vector<TapeRun>& stack, BlockId block, const mpz_class& count);
    void put(std::vector<TapeRun>& stack, BlockId block, mpz_class&& count);
    bool leaveStartBlock(BlockHead head);
    void endIn(BlockHead head, mpz_class block, BlockEnd end);
    // Ends with the head on the first cell of the block it faces.
    void endAhead(BlockEnd end);
    std::optional<std::int64_t> budget() const;
    std::int64_t keptBytes() const;
    static BlockId topOf(const std::vector<TapeRun>& stack) {
        return stack.empty() ? 0 : stack.back().block;
    }
    // The tape from left to right, and the index of the block it begins with.
    std::vector<Stretch> line(mpz_class& firstBlock) const;

    const CompiledRules& rules;
    const int blockSize_;
    std::optional<mpz_class> limit;
    const std::int64_t mostBytes;
    std::vector<std::uint64_t> blockCells;  // by BlockId; 0 is the blank block
    std::unordered_map<std::uint64_t, BlockId> blockIds;
    // By block, state and side entered from: what is known to happen. Kept
    // sparse, since a machine enters most blocks in few of its states.
    std::unordered_map<std::uint64_t, Crossing> crossings;
    ProofSystem prover;

    MacroTape tape;
    // Block indices count from the block the head starts in, where the cell
    // at `startOrigin` is cell 0.
    std::int64_t startOrigin = 0;
    // The index of the bottom block of `left`, or while `left` is empty of
    // the block on top of `right`. It changes only when a step goes beyond
    // the bottom of `left` or a rule applies: crossing a long run costs no
    // long addition.
    mpz_class leftEnd = 0;
    mpz_class steps_ = 0;
    // The block the head starts in, until it leaves it.
    std::optional<BlockHead> startBlock;

    std::optional<BlockEnd> end_;
    BlockHead last;
    mpz_class lastBlock = 0;
    const mpz_class one = 1;
};

#endif
