#include "engine/machine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Names and symbols match exactly, as bytes.
TEST(Machine, RulesMatchExactlyAndMoveAsTold) {
    Machine machine;
    machine.addRule("Q", '^', "upper", 'U', Move::None);
    machine.addRule("q ", '^', "space", 'S', Move::None);
    machine.addRule("q", static_cast<char>(0xE9), "a", static_cast<char>(0xFF), Move::None);
    machine.addRule("a", static_cast<char>(0xFF), "b", '1', Move::Left);
    machine.addRule("b", '^', "c", '2', Move::Right);
    machine.setCurrentState("q");
    machine.step();
    EXPECT_STREQ(machine.currentState(), "q") << "no rule for q reading a blank";
    machine.writeSymbol(static_cast<char>(0xE9));
    const int expectedPositions[] = {0, -1, 0};
    for (const int position : expectedPositions) {
        machine.step();
        EXPECT_EQ(machine.headPosition(), position) << "in state " << machine.currentState();
    }
    EXPECT_STREQ(machine.currentState(), "c");
    machine.moveLeft();
    EXPECT_EQ(machine.readSymbol(), '2');
}

TEST(Machine, EnteringTheFinishStateStopsItUntilItIsSetRunning) {
    Machine machine;
    machine.setCurrentState("a");
    machine.setFinishState("");
    machine.addRule("a", '^', "", '1', Move::Right);
    machine.addRule("", '^', "a", '2', Move::Right);
    machine.step();
    EXPECT_FALSE(machine.isRunning());
    machine.step();
    EXPECT_EQ(machine.headPosition(), 1);
    EXPECT_EQ(machine.readSymbol(), '^');

    machine.setRunning();
    machine.step();
    EXPECT_STREQ(machine.currentState(), "a");
    EXPECT_EQ(machine.headPosition(), 2);
}

TEST(Machine, ClearRulesLeavesNoRuleToApply) {
    Machine machine;
    machine.setCurrentState("a");
    machine.addRule("a", '^', "b", '1', Move::None);
    machine.clearRules();
    machine.step();
    EXPECT_STREQ(machine.currentState(), "a");
    machine.addRule("a", '^', "c", '1', Move::None);
    machine.step();
    EXPECT_STREQ(machine.currentState(), "c");
}

}  // namespace
