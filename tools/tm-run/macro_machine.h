#ifndef ZARN_TOOLS_TM_RUN_MACRO_MACHINE_H
#define ZARN_TOOLS_TM_RUN_MACRO_MACHINE_H

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/tm-run/block_steps.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/tape_cells.h"

// Runs a machine with its tape cut into blocks of k cells, each block read as
// one symbol. Equal neighbouring blocks are kept as one run, on a stack on
// either side of the head. What the machine does with a block between
// entering it at one edge and leaving it is worked out once, one rule at a
// time, and kept. A state that leaves a block on the side it travels to, in the
// same state, crosses a whole run of such blocks in one go (a chain step).
class MacroMachine {
public:
    MacroMachine(const CompiledRules& rules, int blockSize, const TapeCells& tape,
                 std::int64_t headPosition);

    // Makes at most `macroSteps` block crossings, and never more than `limit`
    // steps in all. Returns true once the run has ended.
    bool advance(std::int64_t limit, std::int64_t macroSteps);

    std::int64_t steps() const { return steps_; }
    bool ended() const { return end_.has_value(); }
    // Why the run ended: Finished, Idle (from here on no step changes
    // anything) or Budget (the limit).
    BlockEnd end() const { return *end_; }
    int blockSize() const { return blockSize_; }
    std::size_t runCount() const { return left.size() + right.size(); }

    // Once the run has ended: where it left the machine.
    const std::string& state() const { return rules.name(last.state); }
    std::int64_t headPosition() const { return positionOf(lastBlock, last.offset); }
    char symbol() const { return last.cells[last.offset]; }
    // The blocks from the first to the last that holds a non-blank cell;
    // nothing when they hold more than `maxCells` cells.
    std::optional<TapeCells> writtenCells(std::int64_t maxCells) const;

private:
    using BlockId = std::uint32_t;
    struct Run {
        BlockId block;
        std::int64_t count;
    };
    struct Crossing {
        BlockId write;
        StateIndex next;
        bool exitRight;
        std::int64_t steps;
    };

    std::int64_t positionOf(std::int64_t block, int offset) const;
    BlockId idOf(const BlockHead& head);
    static std::uint64_t crossingKey(StateIndex state, bool fromLeft, BlockId block) {
        return std::uint64_t{block} << 33 | std::uint64_t{state} << 1 | (fromLeft ? 1 : 0);
    }
    BlockHead headIn(BlockId block, StateIndex state, int offset) const;
    static void take(std::vector<Run>& stack, std::int64_t count);
    void put(std::vector<Run>& stack, BlockId block, std::int64_t count);
    bool leaveStartBlock(BlockHead head, std::int64_t limit);
    void endIn(BlockHead head, std::int64_t block, BlockEnd end);
    BlockId topOf(const std::vector<Run>& stack) const {
        return stack.empty() ? 0 : stack.back().block;
    }

    const CompiledRules& rules;
    const int blockSize_;
    std::vector<std::uint64_t> blockCells;  // by BlockId; 0 is the blank block
    std::unordered_map<std::uint64_t, BlockId> blockIds;
    // By block, state and side entered from: what is known to happen. Kept
    // sparse, since a machine enters most blocks in few of its states.
    std::unordered_map<std::uint64_t, Crossing> crossings;

    // Nearest the head last. Blocks beyond the bottom of either stack are blank.
    std::vector<Run> left;
    std::vector<Run> right;
    StateIndex state_ = 0;
    bool facingRight = true;
    // Block indices count from the block the head starts in, where the cell
    // at `startOrigin` is cell 0: a run of n steps reaches at most block n.
    std::int64_t startOrigin = 0;
    // The index of the block on top of `right`; left's top is the one before.
    // While the head is still in its first block, that block's index.
    std::int64_t edge = 0;
    std::int64_t steps_ = 0;
    // The block the head starts in, until it leaves it.
    std::optional<BlockHead> startBlock;

    std::optional<BlockEnd> end_;
    BlockHead last;
    std::int64_t lastBlock = 0;
};

#endif
