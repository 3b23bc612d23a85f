#ifndef ZARN_TOOLS_TM_RUN_COMPILED_RULES_H
#define ZARN_TOOLS_TM_RUN_COMPILED_RULES_H

#include <cstdint>
#include <string>
#include <vector>

#include "engine/machine.h"

using StateIndex = std::uint32_t;

// What a step does in one state on one symbol. `move` is -1, 0 or +1.
struct CompiledRule {
    StateIndex next = 0;
    char write = 0;
    std::int8_t move = 0;
    // Applying it changes nothing now and so nothing ever: no rule matches, or
    // the rule keeps state and symbol without moving and does not finish.
    bool idle = true;
};

// The rule table reduced, once before a run, to the one rule that each state
// and symbol would use, over the states reachable from the current one.
class CompiledRules {
public:
    static constexpr StateIndex noState = UINT32_MAX;

    // The machine must have a current state.
    explicit CompiledRules(const Machine& machine);

    const CompiledRule& rule(StateIndex state, char symbol) const {
        return table[state * 256 + static_cast<unsigned char>(symbol)];
    }
    StateIndex start() const { return 0; }
    // noState when the finish state is unset or cannot be reached.
    StateIndex finish() const { return finish_; }
    StateIndex stateCount() const { return static_cast<StateIndex>(names.size()); }
    const std::string& name(StateIndex state) const { return names[state]; }

private:
    std::vector<std::string> names;
    std::vector<CompiledRule> table;
    StateIndex finish_ = noState;
};

#endif
