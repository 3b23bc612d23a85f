#include "tools/tm-run/compiled_rules.h"

#include <unordered_map>

CompiledRules::CompiledRules(const Machine& machine) {
    std::vector<const MachineState*> states{machine.currentMachineState()};
    std::unordered_map<const MachineState*, StateIndex> indexOf{{states.front(), 0}};
    const auto indexFor = [&](const MachineState* state) {
        const auto [found, added] = indexOf.try_emplace(state, states.size());
        if (added) {
            states.push_back(state);
        }
        return found->second;
    };

    // `states` grows while it is walked: each new state is compiled in turn.
    for (StateIndex index = 0; index < states.size(); ++index) {
        names.push_back(states[index]->name());
        table.resize(table.size() + 256);
        for (int code = 0; code < 256; ++code) {
            const char symbol = static_cast<char>(code);
            const Rule* rule = states[index]->ruleFor(symbol);
            if (rule == nullptr) {
                continue;
            }
            CompiledRule& compiled = table[index * 256 + code];
            compiled.next = indexFor(rule->nextState);
            compiled.write = rule->newSymbol;
            compiled.move = rule->move == Move::None ? 0 : rule->move == Move::Left ? -1 : 1;
            compiled.idle = rule->nextState == states[index] && rule->newSymbol == symbol &&
                            compiled.move == 0 && rule->nextState != machine.finishMachineState();
        }
    }
    if (const auto found = indexOf.find(machine.finishMachineState()); found != indexOf.end()) {
        finish_ = found->second;
    }
}
