#ifndef ZARN_TOOLS_TM_RUN_DECIDER_MACHINE_H
#define ZARN_TOOLS_TM_RUN_DECIDER_MACHINE_H

#include <cstdint>
#include <string>
#include <vector>

// One transition of a machine that the deciders study. A transition that is
// not defined halts, and that step counts, as the busy beaver literature counts.
struct DeciderTransition {
    static constexpr std::uint8_t halt = 255;

    std::uint8_t write = 0;
    std::int8_t move = 0;  // -1, 0 or +1
    std::uint8_t next = halt;
    bool defined = false;

    bool halts() const { return next == halt; }
};

// A machine as small numbers: states 0 (the start) to stateCount - 1, symbols
// 0 (the blank) to symbolCount - 1, and where it starts.
struct DeciderMachine {
    int stateCount = 0;
    int symbolCount = 0;
    std::vector<DeciderTransition> table;  // by state, then symbol
    std::vector<std::uint8_t> startTape;   // from position 0 on
    std::int64_t startHead = 0;
    std::vector<std::string> stateNames;
    std::vector<char> symbolNames;  // as --counts prints them

    DeciderTransition& at(int state, int symbol) { return table[state * symbolCount + symbol]; }
    const DeciderTransition& at(int state, int symbol) const {
        return table[state * symbolCount + symbol];
    }
    // The tape-language deciders describe runs from a blank tape only.
    bool startsBlank() const;
};

// An empty machine of the size, with one-line names, every transition undefined.
DeciderMachine blankDeciderMachine(int stateCount, int symbolCount);

// Reads the one-line notation, where "---" and "..." are undefined and Z
// (or H, if no state is called H) halts; `error` says why a line is no machine.
DeciderMachine parseOneLine(const std::string& line, std::string& error);

// The one-line notation of a machine with at most 26 states and 10 symbols:
// undefined transitions as "---", defined halts to Z.
std::string oneLineOf(const DeciderMachine& machine);

// The machine of a description in the workbench's own format; a rule into the
// finish state halts. False, with `error` set, if it cannot be studied.
bool deciderMachineOf(const std::string& description, DeciderMachine& machine, std::string& error);

#endif
