#include "engine/machine.h"

void MachineState::setNewestRule(char symbol, const Rule* rule) {
    for (auto& [ruleSymbol, newest] : newestRules) {
        if (ruleSymbol == symbol) {
            newest = rule;
            return;
        }
    }
    newestRules.emplace_back(symbol, rule);
}

MachineState& Machine::stateNamed(std::string_view name) {
    if (auto found = statesByName.find(name); found != statesByName.end()) {
        return *found->second;
    }
    MachineState& state = states.emplace_back(name);
    statesByName.emplace(state.name(), &state);
    return state;
}

void Machine::setCurrentState(const char* name) {
    current = stateOrNone(name);
}

void Machine::setFinishState(const char* name) {
    finish = stateOrNone(name);
}

void Machine::addRule(const char* state, char symbol, const char* nextState, char newSymbol,
                      Move move) {
    MachineState& from = stateNamed(state);
    const Rule& rule =
        rules.emplace_front(Rule{&from, symbol, &stateNamed(nextState), newSymbol, move});
    from.setNewestRule(symbol, &rule);
}

void Machine::clearRules() {
    for (MachineState& state : states) {
        state.forgetRules();
    }
    rules.clear();
    lastRule = nullptr;
}
