#include "engine/tape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string displayWindow(Tape& tape) {
    std::string window(60, '?');
    tape.readWindow(-2, 60, window.data());
    return window;
}

TEST(TapeGrowth, MovingLeftFromTheOriginEntersANewBlockAndComesBack) {
    Tape tape;
    tape.writeSymbol('a');
    tape.moveLeft();
    EXPECT_EQ(tape.headPosition(), -1);
    EXPECT_EQ(tape.readSymbol(), '^');
    tape.writeSymbol('b');
    tape.moveRight();
    EXPECT_EQ(tape.headPosition(), 0);
    EXPECT_EQ(tape.readSymbol(), 'a');
    tape.moveLeft();
    EXPECT_EQ(tape.readSymbol(), 'b');
}

TEST(TapeGrowth, SymbolsSurviveTripsAcrossManyBlocksInBothDirections) {
    Tape tape;
    tape.writeSymbol('x');
    for (int i = 0; i < 5000; ++i) {
        tape.moveRight();
    }
    EXPECT_EQ(tape.headPosition(), 5000);
    tape.writeSymbol('r');
    for (int i = 0; i < 10000; ++i) {
        tape.moveLeft();
    }
    EXPECT_EQ(tape.headPosition(), -5000);
    tape.writeSymbol('l');
    for (int i = 0; i < 5000; ++i) {
        EXPECT_EQ(tape.readSymbol(), i == 0 ? 'l' : '^') << "at position " << tape.headPosition();
        tape.moveRight();
    }
    EXPECT_EQ(tape.readSymbol(), 'x');
    for (int i = 0; i < 5000; ++i) {
        tape.moveRight();
    }
    EXPECT_EQ(tape.readSymbol(), 'r');
}

TEST(TapeGrowth, ResetLeavesABlankTapeWithTheHeadAtZero) {
    Tape tape;
    for (int i = 0; i < 3000; ++i) {
        tape.writeSymbol('1');
        tape.moveLeft();
    }
    tape.reset();
    EXPECT_EQ(tape.headPosition(), 0);
    EXPECT_EQ(displayWindow(tape), std::string(60, '^'));
    for (int i = 0; i < 3000; ++i) {
        tape.moveLeft();
        ASSERT_EQ(tape.readSymbol(), '^');
    }
}

TEST(TapeWindow, PlacesEachPositionAtItsColumn) {
    Tape tape;
    tape.moveLeft();
    tape.moveLeft();
    for (char c : std::string("ab0123456789")) {
        tape.writeSymbol(c);
        tape.moveRight();
    }
    for (int i = 10; i < 58; ++i) {
        tape.moveRight();
    }
    tape.writeSymbol('Z');  // position 58: just outside the window
    const std::string window = displayWindow(tape);
    EXPECT_EQ(window.substr(0, 12), "ab0123456789");
    EXPECT_EQ(window.substr(12), std::string(48, '^'));
}

TEST(TapeWindow, DoesNotFollowTheHeadNorDisturbIt) {
    Tape tape;
    tape.writeSymbol('0');
    for (int i = 0; i < 100; ++i) {
        tape.moveRight();
    }
    tape.writeSymbol('h');
    const std::string atHundred = displayWindow(tape);
    EXPECT_EQ(atHundred, "^^0" + std::string(57, '^'));
    EXPECT_EQ(tape.headPosition(), 100);
    EXPECT_EQ(tape.readSymbol(), 'h');

    for (int i = 0; i < 110; ++i) {
        tape.moveLeft();
    }
    EXPECT_EQ(displayWindow(tape), atHundred);
    EXPECT_EQ(displayWindow(tape), atHundred);
    EXPECT_EQ(tape.headPosition(), -10);
}

TEST(TapeWindow, WritesExactlyTheRequestedLengthAndNoTerminator) {
    Tape tape;
    tape.writeSymbol('q');
    std::string buffer(8, '#');
    tape.readWindow(0, 3, buffer.data());
    EXPECT_EQ(buffer, "q^^#####");
    tape.readWindow(0, 0, buffer.data());
    tape.readWindow(0, -4, buffer.data());
    EXPECT_EQ(buffer, "q^^#####");
}

// Each call counts its offset from the first cell of the 1024-cell block in
// which the previous call ended, not from position 0.
TEST(TapeWindow, AWindowIsCountedFromTheBlockThePreviousOneEndedIn) {
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
        std::string window(static_cast<std::size_t>(std::max(length, 0)), '?');
        tape.readWindow(offset, length, window.data());
        return window;
    };
    EXPECT_EQ(read(-2, 4), "^ZA^");      // ends in block 0
    EXPECT_EQ(read(1020, 6), "^^^^B^");  // ends in the block from 1024
    EXPECT_EQ(read(0, 1), "B");          // position 1024
    EXPECT_EQ(read(1024, 1), "C");       // position 2048
    EXPECT_EQ(read(-2049, 1), "Z");      // position -1, ends at 0
    EXPECT_EQ(read(-3, 1), "^");         // ends in the block from -1024
    EXPECT_EQ(read(1023, 1), "Z");       // position -1 again
    EXPECT_EQ(read(2000, 0), "");        // an empty window still moves on, to 1024
    EXPECT_EQ(read(0, 1), "B");
    EXPECT_EQ(tape.headPosition(), 2048);
}

}  // namespace
