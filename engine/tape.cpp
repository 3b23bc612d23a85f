#include "engine/tape.h"

Tape::Tape() {
    reset();
}

void Tape::reset() {
    blocks.clear();
    headBlock = &blocks.emplace_back(0);
    viewBlock = headBlock;
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

void Tape::readWindow(std::int32_t offset, std::int32_t length, char* out) {
    viewBlock->viewIndex = 0;
    for (; offset < 0; ++offset) {
        if (--viewBlock->viewIndex < 0) {
            viewBlock = leftOf(viewBlock);
            viewBlock->viewIndex = TapeBlock::cellCount - 1;
        }
    }
    for (; offset > 0; --offset) {
        if (++viewBlock->viewIndex >= TapeBlock::cellCount) {
            viewBlock = rightOf(viewBlock);
            viewBlock->viewIndex = 0;
        }
    }
    for (std::int32_t i = 0; i < length; ++i) {
        out[i] = viewBlock->cells[viewBlock->viewIndex];
        if (++viewBlock->viewIndex >= TapeBlock::cellCount) {
            viewBlock = rightOf(viewBlock);
            viewBlock->viewIndex = 0;
        }
    }
}
