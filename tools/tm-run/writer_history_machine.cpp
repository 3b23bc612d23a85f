#include "tools/tm-run/writer_history_machine.h"

DeciderMachine writerHistoryMachine(const DeciderMachine& machine) {
    const int symbols = 1 + machine.stateCount * machine.symbolCount;
    if (symbols >= DeciderTransition::halt) {
        return {};
    }
    DeciderMachine history = blankDeciderMachine(machine.stateCount, symbols);
    history.stateNames = machine.stateNames;
    history.startHead = machine.startHead;
    // Cells on the start tape count as written by the start state.
    for (const std::uint8_t cell : machine.startTape) {
        history.startTape.push_back(cell == 0 ? 0 : static_cast<std::uint8_t>(1 + cell));
    }
    for (int state = 0; state < machine.stateCount; ++state) {
        for (int cell = 0; cell < symbols; ++cell) {
            DeciderTransition transition =
                machine.at(state, symbolBehindHistory(cell, machine.symbolCount));
            if (transition.defined) {
                transition.write =
                    static_cast<std::uint8_t>(1 + state * machine.symbolCount + transition.write);
            }
            history.at(state, cell) = transition;
        }
    }
    return history;
}

int symbolBehindHistory(int cell, int symbolCount) {
    return cell == 0 ? 0 : (cell - 1) % symbolCount;
}
