#include "engine/tape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(Tape, SymbolsSurviveTripsAcrossManyBlocksInBothDirections) {
    Tape tape;
    tape.writeSymbol('x');
    for (int i = 0; i < 5000; ++i) {
        tape.moveRight();
    }
    tape.writeSymbol('r');
    for (int i = 0; i < 10000; ++i) {
        tape.moveLeft();
    }
    EXPECT_EQ(tape.headPosition(), -5000);
    tape.writeSymbol('l');
    for (int i = -5000; i <= 5000; ++i) {
        const char expected = i == -5000 ? 'l' : i == 0 ? 'x' : i == 5000 ? 'r' : '^';
        ASSERT_EQ(tape.readSymbol(), expected) << "at position " << tape.headPosition();
        tape.moveRight();
    }

    tape.reset();
    EXPECT_EQ(tape.headPosition(), 0);
    for (int i = 0; i < 3000; ++i) {
        tape.moveLeft();
        ASSERT_EQ(tape.readSymbol(), '^') << "after a reset, at " << tape.headPosition();
    }
}

// Each call counts its offset from the first cell of the 1024-cell block in
// which the previous call ended, not from position 0, and never moves the head.
TEST(Tape, AWindowIsCountedFromTheBlockThePreviousOneEndedIn) {
    Tape tape;
    tape.writeSymbol('A');
    tape.moveLeft();
    tape.writeSymbol('Z');
    for (int i = 0; i < 1025; ++i) {
        tape.moveRight();
    }
    tape.writeSymbol('B');  // position 1024
    for (int i = 0; i < 1024; ++i) {
        tape.moveRight();
    }
    tape.writeSymbol('C');  // position 2048
    auto read = [&tape](int offset, int length) {
        std::string window(static_cast<std::size_t>(std::max(length, 0)) + 2, '#');
        tape.readWindow(offset, length, window.data());
        return window;
    };
    EXPECT_EQ(read(-2, 4), "^ZA^##");      // ends in block 0
    EXPECT_EQ(read(1020, 6), "^^^^B^##");  // ends in the block from 1024
    EXPECT_EQ(read(0, 1), "B##");          // position 1024
    EXPECT_EQ(read(1024, 1), "C##");       // position 2048
    EXPECT_EQ(read(-2049, 1), "Z##");      // position -1, ends at 0
    EXPECT_EQ(read(-3, 1), "^##");         // ends in the block from -1024
    EXPECT_EQ(read(1023, 1), "Z##");       // position -1 again
    EXPECT_EQ(read(2000, 0), "##");        // an empty window still moves on, to 1024
    EXPECT_EQ(read(0, -4), "##");
    EXPECT_EQ(read(0, 1), "B##");
    EXPECT_EQ(tape.headPosition(), 2048);
    EXPECT_EQ(tape.readSymbol(), 'C');
}

}  // namespace
