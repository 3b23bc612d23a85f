#include "tools/tm-run/macro_machine.h"

#include <algorithm>
#include <cstring>

namespace {

std::int64_t blockOf(std::int64_t position, int blockSize) {
    const std::int64_t quotient = position / blockSize;
    return position % blockSize < 0 ? quotient - 1 : quotient;
}

}  // namespace

MacroMachine::MacroMachine(const CompiledRules& rules, int blockSize, const TapeCells& tape,
                           std::int64_t headPosition)
    : rules(rules), blockSize_(blockSize) {
    BlockHead blank;
    std::fill_n(blank.cells.begin(), blockSize_, blankSymbol);
    idOf(blank);

    const std::int64_t tapeEnd = tape.firstPosition + static_cast<std::int64_t>(tape.cells.size());
    const std::int64_t firstBlock = blockOf(std::min(tape.firstPosition, headPosition), blockSize_);
    const std::int64_t lastBlock = blockOf(std::max(tapeEnd - 1, headPosition), blockSize_);
    const std::int64_t headBlock = blockOf(headPosition, blockSize_);
    const auto blockAt = [&](std::int64_t block, int offset) {
        BlockHead head = blank;
        head.state = rules.start();
        head.offset = offset;
        for (int cell = 0; cell < blockSize_; ++cell) {
            const std::int64_t index = block * blockSize_ + cell - tape.firstPosition;
            if (index >= 0 && index < static_cast<std::int64_t>(tape.cells.size())) {
                head.cells[cell] = tape.cells[static_cast<std::size_t>(index)];
            }
        }
        return head;
    };
    for (std::int64_t block = firstBlock; block < headBlock; ++block) {
        put(left, idOf(blockAt(block, 0)), 1);
    }
    for (std::int64_t block = lastBlock; block > headBlock; --block) {
        put(right, idOf(blockAt(block, 0)), 1);
    }
    startBlock = blockAt(headBlock, static_cast<int>(headPosition - headBlock * blockSize_));
    startOrigin = headBlock * blockSize_;
}

MacroMachine::BlockId MacroMachine::idOf(const BlockHead& head) {
    std::uint64_t cells = 0;
    std::memcpy(&cells, head.cells.data(), sizeof cells);
    const auto [found, added] =
        blockIds.try_emplace(cells, static_cast<BlockId>(blockCells.size()));
    if (added) {
        blockCells.push_back(cells);
    }
    return found->second;
}

BlockHead MacroMachine::headIn(BlockId block, StateIndex state, int offset) const {
    BlockHead head;
    head.state = state;
    head.offset = offset;
    std::memcpy(head.cells.data(), &blockCells[block], sizeof blockCells[block]);
    return head;
}

void MacroMachine::take(std::vector<Run>& stack, std::int64_t count) {
    if (!stack.empty() && (stack.back().count -= count) == 0) {
        stack.pop_back();
    }
}

void MacroMachine::put(std::vector<Run>& stack, BlockId block, std::int64_t count) {
    if (!stack.empty() && stack.back().block == block) {
        // Only the description's own blocks and a run of 2^63 steps together
        // could overflow the count; such a run has reached its end anyway.
        std::int64_t& runCount = stack.back().count;
        runCount = runCount > INT64_MAX - count ? INT64_MAX : runCount + count;
    } else if (!stack.empty() || block != 0) {
        stack.push_back({block, count});
    }
}

bool MacroMachine::leaveStartBlock(BlockHead head, std::int64_t limit) {
    std::int64_t made = 0;
    const BlockEnd end = runInBlock(rules, blockSize_, head, limit - steps_, made);
    steps_ += made;
    state_ = head.state;
    if (end == BlockEnd::ExitRight) {
        put(left, idOf(head), 1);
        ++edge;
        facingRight = true;
    } else if (end == BlockEnd::ExitLeft) {
        put(right, idOf(head), 1);
        facingRight = false;
    } else {
        endIn(head, edge, end);
    }
    return ended();
}

bool MacroMachine::advance(std::int64_t limit, std::int64_t macroSteps) {
    if (ended()) {
        return true;
    }
    if (startBlock) {
        const BlockHead head = *startBlock;
        startBlock.reset();
        if (leaveStartBlock(head, limit)) {
            return true;
        }
    }
    for (; macroSteps > 0; --macroSteps) {
        std::vector<Run>& ahead = facingRight ? right : left;
        const BlockId block = topOf(ahead);
        const std::int64_t remaining = limit - steps_;
        const std::uint64_t key = crossingKey(state_, facingRight, block);
        auto known = crossings.find(key);
        if (known == crossings.end() || known->second.steps > remaining) {
            BlockHead head = headIn(block, state_, facingRight ? 0 : blockSize_ - 1);
            std::int64_t made = 0;
            const BlockEnd end = runInBlock(rules, blockSize_, head, remaining, made);
            if (end != BlockEnd::ExitLeft && end != BlockEnd::ExitRight) {
                take(ahead, 1);
                steps_ += made;
                endIn(head, facingRight ? edge : edge - 1, end);
                return true;
            }
            known = crossings
                        .insert_or_assign(
                            key, Crossing{idOf(head), head.state, end == BlockEnd::ExitRight, made})
                        .first;
        }

        const Crossing crossing = known->second;
        std::int64_t count = 1;
        if (crossing.next == state_ && crossing.exitRight == facingRight) {
            const std::int64_t run = ahead.empty() ? INT64_MAX : ahead.back().count;
            count = std::min(run, remaining / crossing.steps);
        }
        take(ahead, count);
        put(crossing.exitRight ? left : right, crossing.write, count);
        if (crossing.exitRight == facingRight) {
            edge += facingRight ? count : -count;
        }
        facingRight = crossing.exitRight;
        state_ = crossing.next;
        steps_ += count * crossing.steps;
    }
    return false;
}

std::int64_t MacroMachine::positionOf(std::int64_t block, int offset) const {
    // Only a run of about 2^63 steps gets further; it reads as the farthest
    // position that 64 bits hold.
    std::int64_t position = 0;
    if (__builtin_mul_overflow(block, blockSize_, &position) ||
        __builtin_add_overflow(position, startOrigin + offset, &position)) {
        return block < 0 ? INT64_MIN : INT64_MAX;
    }
    return position;
}

// A run can end with the head just outside the block it was working on, when
// the rule that finished it moved the head: it then stands in the neighbour.
void MacroMachine::endIn(BlockHead head, std::int64_t block, BlockEnd end) {
    if (head.offset < 0) {
        put(right, idOf(head), 1);
        head = headIn(topOf(left), head.state, blockSize_ - 1);
        take(left, 1);
        --block;
    } else if (head.offset >= blockSize_) {
        put(left, idOf(head), 1);
        head = headIn(topOf(right), head.state, 0);
        take(right, 1);
        ++block;
    }
    end_ = end;
    last = head;
    lastBlock = block;
}

std::optional<TapeCells> MacroMachine::writtenCells(std::int64_t maxCells) const {
    // The whole tape from left to right, the head's block at `headIndex`.
    struct Stretch {
        std::uint64_t cells;
        std::int64_t count;
    };
    std::vector<Stretch> line;
    for (const Run& run : left) {
        line.push_back({blockCells[run.block], run.count});
    }
    const std::size_t headIndex = line.size();
    line.push_back({0, 1});
    std::memcpy(&line.back().cells, last.cells.data(), sizeof line.back().cells);
    for (auto run = right.rbegin(); run != right.rend(); ++run) {
        line.push_back({blockCells[run->block], run->count});
    }

    const auto written = [&](const Stretch& stretch) { return stretch.cells != blockCells[0]; };
    const auto first = std::find_if(line.begin(), line.end(), written);
    if (first == line.end()) {
        return TapeCells{"", headPosition()};
    }
    const auto end = std::find_if(line.rbegin(), line.rend(), written).base();
    // Blank runs between the head and the written cells can be long beyond
    // printing; they only move where the written cells begin.
    std::int64_t firstBlock = lastBlock;
    const auto headAt = line.begin() + static_cast<std::ptrdiff_t>(headIndex);
    for (auto stretch = first; stretch < headAt; ++stretch) {
        if (__builtin_sub_overflow(firstBlock, stretch->count, &firstBlock)) {
            return std::nullopt;
        }
    }
    for (auto stretch = headAt; stretch < first; ++stretch) {
        if (__builtin_add_overflow(firstBlock, stretch->count, &firstBlock)) {
            return std::nullopt;
        }
    }
    std::int64_t blocks = 0;
    for (auto stretch = first; stretch < end; ++stretch) {
        if (stretch->count > maxCells / blockSize_ - blocks) {
            return std::nullopt;
        }
        blocks += stretch->count;
    }

    TapeCells tape{"", positionOf(firstBlock, 0)};
    tape.cells.reserve(static_cast<std::size_t>(blocks * blockSize_));
    for (auto stretch = first; stretch < end; ++stretch) {
        for (std::int64_t i = 0; i < stretch->count; ++i) {
            tape.cells.append(reinterpret_cast<const char*>(&stretch->cells),
                              static_cast<std::size_t>(blockSize_));
        }
    }
    return tape;
}
