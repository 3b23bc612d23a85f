#include "engine/machine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Exposes the rule the last step applied.
class InspectableMachine : public Machine {
public:
    const Rule* appliedRule() const { return lastRule; }
};

TEST(MachineBasics, ANewMachineIsRunningWithNothingToDo) {
    InspectableMachine machine;
    EXPECT_TRUE(machine.isRunning());
    EXPECT_EQ(machine.currentState(), nullptr);
    EXPECT_EQ(machine.finishState(), nullptr);
    machine.step();
    EXPECT_TRUE(machine.isRunning());
    EXPECT_EQ(machine.headPosition(), 0);
    EXPECT_EQ(machine.appliedRule(), nullptr);
}

TEST(MachineBasics, KeepsItsOwnCopiesOfNames) {
    Machine machine;
    std::string name = "q0";
    machine.setCurrentState(name.c_str());
    machine.setFinishState(name.c_str());
    name = "zz";
    EXPECT_STREQ(machine.currentState(), "q0");
    EXPECT_STREQ(machine.finishState(), "q0");
    machine.setCurrentState(nullptr);
    EXPECT_EQ(machine.currentState(), nullptr);
}

TEST(RulePrecedence, NamesAndSymbolsCompareExactly) {
    Machine machine;
    machine.addRule("Q", '^', "upper", 'U', Move::None);
    machine.addRule("q", 'A', "wrongSymbol", 'X', Move::None);
    machine.addRule("q ", '^', "space", 'S', Move::None);
    machine.addRule("", '^', "empty", 'E', Move::None);
    machine.setCurrentState("q");
    machine.step();
    EXPECT_STREQ(machine.currentState(), "q");
    EXPECT_EQ(machine.readSymbol(), '^');
    machine.setCurrentState("");
    machine.step();
    EXPECT_STREQ(machine.currentState(), "empty");
    EXPECT_EQ(machine.readSymbol(), 'E');
}

TEST(RulePrecedence, SymbolsAreComparedAsBytes) {
    Machine machine;
    machine.setCurrentState("s");
    machine.writeSymbol(static_cast<char>(0xE9));
    machine.addRule("s", static_cast<char>(0xE9), "t", static_cast<char>(0xFF), Move::Right);
    machine.step();
    EXPECT_STREQ(machine.currentState(), "t");
    machine.moveLeft();
    EXPECT_EQ(machine.readSymbol(), static_cast<char>(0xFF));
}

TEST(Moves, NoneLeftRightAndUnknownValues) {
    Machine machine;
    machine.setCurrentState("a");
    machine.addRule("a", '^', "b", '1', Move::None);
    machine.addRule("b", '1', "c", '2', Move::Left);
    machine.addRule("c", '^', "d", '3', Move::Right);
    machine.addRule("d", '2', "e", '4', static_cast<Move>(7));
    machine.step();
    EXPECT_EQ(machine.headPosition(), 0);
    machine.step();
    EXPECT_EQ(machine.headPosition(), -1);
    machine.step();
    EXPECT_EQ(machine.headPosition(), 0);
    machine.step();
    EXPECT_EQ(machine.headPosition(), 1);
    EXPECT_STREQ(machine.currentState(), "e");
}

TEST(FinishTest, EnteringTheFinishStateStopsTheMachine) {
    InspectableMachine machine;
    machine.setCurrentState("a");
    machine.setFinishState("h");
    machine.addRule("a", '^', "h", '1', Move::Right);
    machine.addRule("h", '^', "a", '2', Move::Right);
    machine.step();
    EXPECT_FALSE(machine.isRunning());
    const Rule* applied = machine.appliedRule();
    machine.step();
    EXPECT_EQ(machine.headPosition(), 1);
    EXPECT_EQ(machine.readSymbol(), '^');
    EXPECT_EQ(machine.appliedRule(), applied);

    machine.setRunning();
    machine.step();
    EXPECT_STREQ(machine.currentState(), "a");
    EXPECT_EQ(machine.headPosition(), 2);
    machine.moveLeft();
    EXPECT_EQ(machine.readSymbol(), '2');
}

TEST(FinishTest, TheEmptyNameIsAFinishStateLikeAnyOther) {
    Machine machine;
    machine.setCurrentState("a");
    machine.setFinishState("");
    machine.addRule("a", '^', "", '^', Move::None);
    machine.step();
    EXPECT_FALSE(machine.isRunning());
}

TEST(FinishTest, WithoutAFinishStateTheMachineNeverFinishes) {
    Machine machine;
    machine.setCurrentState("a");
    machine.addRule("a", '^', "b", '^', Move::Right);
    machine.addRule("b", '^', "a", '^', Move::Right);
    for (int i = 0; i < 5000; ++i) {
        machine.step();
    }
    EXPECT_TRUE(machine.isRunning());
    EXPECT_EQ(machine.headPosition(), 5000);
}

TEST(ClearRules, LeavesNoRuleToApply) {
    InspectableMachine machine;
    machine.clearRules();
    machine.setCurrentState("a");
    machine.addRule("a", '^', "b", '1', Move::None);
    machine.clearRules();
    machine.step();
    EXPECT_STREQ(machine.currentState(), "a");
    EXPECT_EQ(machine.appliedRule(), nullptr);
    machine.addRule("a", '^', "c", '1', Move::None);
    machine.step();
    EXPECT_STREQ(machine.currentState(), "c");
}

}  // namespace
