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

TEST(TapeGrowth, ANewTapeIsBlankWithTheHeadAtZero) {
    Tape tape;
    EXPECT_EQ(tape.readSymbol(), '^');
    EXPECT_EQ(tape.headPosition(), 0);
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

TEST(TapeGrowth, BlockBoundariesAreExactlyEvery1024Cells) {
    Tape tape;
    for (int i = 0; i < 1024; ++i) {
        tape.writeSymbol(static_cast<char>('A' + i % 26));
        tape.moveRight();
    }
    EXPECT_EQ(tape.headPosition(), 1024);
    EXPECT_EQ(tape.readSymbol(), '^');
    tape.moveLeft();
    EXPECT_EQ(tape.readSymbol(), static_cast<char>('A' + 1023 % 26));
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

TEST(TapeWindow, ShowsPositionsMinusTwoToFiftySevenOnAFreshTape) {
    Tape tape;
    EXPECT_EQ(displayWindow(tape), std::string(60, '^'));
    EXPECT_EQ(tape.headPosition(), 0);
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

TEST(TapeWindow, AnyWindowCopiesTheCellsCountedFromTheViewBlock) {
    Tape tape;
    auto symbolAt = [](int position) { return static_cast<char>('!' + (position + 5000) % 90); };
    for (int i = 0; i < 3000; ++i) {
        tape.moveLeft();
    }
    for (int position = -3000; position < 3000; ++position) {
        tape.writeSymbol(symbolAt(position));
        tape.moveRight();
    }
    // Each call measures from cell 0 of the block the previous call ended in.
    int viewBlockStart = 0;
    const int windows[][2] = {{-2, 60}, {1000, 50}, {-1500, 2100}, {0, 1024},
                              {-1, 1},  {700, 0},   {-2048, 3000}, {5, -3}};
    for (const auto& [offset, length] : windows) {
        SCOPED_TRACE(testing::Message() << "offset " << offset << " length " << length);
        std::string expected;
        for (int i = 0; i < length; ++i) {
            const int position = viewBlockStart + offset + i;
            expected += position >= -3000 && position < 3000 ? symbolAt(position) : '^';
        }
        std::string window(static_cast<std::size_t>(std::max(length, 0)), '?');
        tape.readWindow(offset, length, window.data());
        EXPECT_EQ(window, expected);
        const int end = viewBlockStart + offset + std::max(length, 0);
        viewBlockStart = (end >= 0 ? end / 1024 : (end - 1023) / 1024) * 1024;
    }
    EXPECT_EQ(tape.headPosition(), 3000);
}

}  // namespace
