#ifndef ZARN_ENGINE_MACHINE_H
#define ZARN_ENGINE_MACHINE_H

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/tape.h"

// Values other than these three can be stored; step moves right for them.
enum class Move : std::int32_t { None = 0, Left = 1, Right = 2 };

class MachineState;

// One five-part rule. The names are the machine's own interned copies, which
// live as long as the machine, so a rule never refers to a freed name.
struct Rule {
    const MachineState* state = nullptr;
    char symbol = 0;
    const MachineState* nextState = nullptr;
    char newSymbol = 0;
    Move move = Move::None;
};

// A state name as the machine stores it, together with the newest rule for
// each symbol read in that state, so that a step needs no string comparison.
class MachineState {
public:
    explicit MachineState(std::string_view name) : name_(name) {}

    const std::string& name() const { return name_; }
    const Rule* ruleFor(char symbol) const {
        for (const auto& [ruleSymbol, rule] : newestRules) {
            if (ruleSymbol == symbol) {
                return rule;
            }
        }
        return nullptr;
    }
    void setNewestRule(char symbol, const Rule* rule);
    void forgetRules() { newestRules.clear(); }

private:
    std::string name_;
    std::vector<std::pair<char, const Rule*>> newestRules;
};

// A tape with a rule table, a current state, an optional finish state and a
// running flag. The newest rule matching the state and the symbol read wins.
class Machine : public Tape {
public:
    Machine() = default;
    ~Machine() override = default;

    // nullptr means no state. The machine keeps its own copy of the name.
    void setCurrentState(const char* name);
    const char* currentState() const { return nameOf(current); }
    void setFinishState(const char* name);
    const char* finishState() const { return nameOf(finish); }

    void setRunning() { running = true; }
    bool isRunning() const { return running; }

    void addRule(const char* state, char symbol, const char* nextState, char newSymbol, Move move);
    void clearRules();

    // The interned states, for whoever compiles the rule table; none when unset.
    const MachineState* currentMachineState() const { return current; }
    const MachineState* finishMachineState() const { return finish; }

    void step() {
        if (!running || current == nullptr) {
            return;
        }
        const Rule* rule = current->ruleFor(readSymbol());
        if (rule == nullptr) {
            return;
        }
        lastRule = rule;
        current = rule->nextState;
        writeSymbol(rule->newSymbol);
        if (rule->move == Move::Left) {
            moveLeft();
        } else if (rule->move != Move::None) {
            moveRight();
        }
        if (current == finish) {
            running = false;
        }
    }

protected:
    // The rule the latest applied step used; a derived class may point it at
    // a rule-shaped record of its own. Never owned.
    const Rule* lastRule = nullptr;

private:
    static const char* nameOf(const MachineState* state) {
        return state == nullptr ? nullptr : state->name().c_str();
    }
    MachineState& stateNamed(std::string_view name);
    const MachineState* stateOrNone(const char* name) {
        return name == nullptr ? nullptr : &stateNamed(name);
    }

    bool running = true;
    // Newest rule first; a deque keeps each rule's address stable.
    std::deque<Rule> rules;
    const MachineState* current = nullptr;
    const MachineState* finish = nullptr;
    std::deque<MachineState> states;
    std::unordered_map<std::string_view, MachineState*> statesByName;
};

#endif
