#include "engine/tape.h"

#include <algorithm>

Tape::Tape() {
    reset();
}

// The new origin block comes first, so that a failed allocation leaves the
// tape as it was rather than without a block.
void Tape::reset() {
    std::deque<TapeBlock> fresh;
    TapeBlock* origin = &fresh.emplace_back(0);
    blocks.swap(fresh);
    headBlock = origin;
    viewBlock = origin;
    headPosition_ = 0;
}

TapeBlock* Tape::leftOf(TapeBlock* block) {
    if (block->prev == nullptr) {
        TapeBlock* created = &blocks.emplace_back(TapeBlock::cellCount - 1);
        created->next = block;
        block->prev = created;
    }
    return block->prev;
}

TapeBlock* Tape::rightOf(TapeBlock* block) {
    if (block->next == nullptr) {
        TapeBlock* created = &blocks.emplace_back(0);
        created->prev = block;
        block->next = created;
    }
    return block->next;
}

void Tape::enterLeftBlock() {
    headBlock = leftOf(headBlock);
    headBlock->headIndex = TapeBlock::cellCount - 1;
}

void Tape::enterRightBlock() {
    headBlock = rightOf(headBlock);
    headBlock->headIndex = 0;
}

// Walks and copies a block at a time. Each call measures from cell 0 of the
// view block, so only the block the view cursor ends in matters afterwards.
void Tape::readWindow(std::int32_t offset, std::int32_t length, char* out) {
    std::int64_t index = offset;
    while (index < 0) {
        viewBlock = leftOf(viewBlock);
        index += TapeBlock::cellCount;
    }
    while (index >= TapeBlock::cellCount) {
        viewBlock = rightOf(viewBlock);
        index -= TapeBlock::cellCount;
    }
    for (std::int32_t copied = 0; copied < length;) {
        const auto count = std::min<std::int64_t>(length - copied, TapeBlock::cellCount - index);
        std::copy_n(viewBlock->cells.begin() + index, count, out + copied);
        copied += static_cast<std::int32_t>(count);
        index += count;
        if (index == TapeBlock::cellCount) {
            viewBlock = rightOf(viewBlock);
            index = 0;
        }
    }
}
