#ifndef ZARN_ENGINE_TAPE_H
#define ZARN_ENGINE_TAPE_H

#include <array>
#include <cstdint>
#include <deque>

inline constexpr char blankSymbol = '^';

// 1024 cells of the tape, linked to its neighbours. A block created to the
// right starts with its head index on cell 0, one created to the left on 1023.
struct TapeBlock {
    static constexpr std::int32_t cellCount = 1024;

    explicit TapeBlock(std::int32_t initialHeadIndex) : headIndex(initialHeadIndex) {
        cells.fill(blankSymbol);
    }

    std::array<char, cellCount> cells;
    std::int32_t headIndex;
    TapeBlock* prev = nullptr;
    TapeBlock* next = nullptr;
};

// An unbounded tape of 8-bit symbols with two cursors: the head, which the
// machine reads, writes and moves, and a view cursor used only by readWindow.
class Tape {
public:
    Tape();
    virtual ~Tape() = default;
    Tape(const Tape&) = delete;
    Tape& operator=(const Tape&) = delete;

    void reset();
    // A block that cannot be allocated leaves the head where it was.
    void moveLeft() {
        if (headBlock->headIndex == 0) {
            enterLeftBlock();
        } else {
            --headBlock->headIndex;
        }
        --headPosition_;
    }
    void moveRight() {
        if (headBlock->headIndex == TapeBlock::cellCount - 1) {
            enterRightBlock();
        } else {
            ++headBlock->headIndex;
        }
        ++headPosition_;
    }
    char readSymbol() const { return headBlock->cells[headBlock->headIndex]; }
    void writeSymbol(char symbol) { headBlock->cells[headBlock->headIndex] = symbol; }
    std::int32_t headPosition() const { return headPosition_; }

    // Copies `length` symbols starting `offset` cells from cell 0 of the view
    // block into `out`, without a terminator. Never moves the head.
    void readWindow(std::int32_t offset, std::int32_t length, char* out);

private:
    void enterLeftBlock();
    void enterRightBlock();
    TapeBlock* leftOf(TapeBlock* block);
    TapeBlock* rightOf(TapeBlock* block);

    std::int32_t headPosition_ = 0;
    TapeBlock* viewBlock = nullptr;
    TapeBlock* headBlock = nullptr;
    // Owns every block of the chain; a deque keeps their addresses stable and
    // frees a chain of any length without recursion.
    std::deque<TapeBlock> blocks;
};

#endif
