#include "tools/tm-run/space_time_diagram.h"

#include <algorithm>
#include <unordered_map>

SpaceTimeDiagram recordDiagram(MachineRunner& runner, std::int64_t steps) {
    SpaceTimeDiagram diagram;
    diagram.rows.reserve(static_cast<std::size_t>(steps) + 1);
    // The engine interns state names, so a name's address identifies its state.
    std::unordered_map<const char*, std::uint32_t> stateIndex;
    // Cells found left of the start are kept reversed, so that adding one is cheap.
    std::string leftCells;
    std::string rightCells(1, runner.readSymbol());
    const std::int32_t start = runner.headPosition();

    for (std::int64_t step = 0;; ++step) {
        const char* state = runner.currentState();
        const auto [entry, added] =
            stateIndex.try_emplace(state, static_cast<std::uint32_t>(diagram.states.size()));
        if (added) {
            diagram.states.emplace_back(state);
        }
        const char symbol = runner.readSymbol();
        const Rule* rule = runner.currentMachineState()->ruleFor(symbol);
        const bool last = step == steps || !runner.isRunning();
        const char written = rule != nullptr && !last ? rule->newSymbol : symbol;
        diagram.rows.push_back({runner.headPosition(), entry->second, written});
        if (last) {
            break;
        }
        runner.step();
        const std::int32_t head = runner.headPosition();
        if (head < start - static_cast<std::int32_t>(leftCells.size())) {
            leftCells += runner.readSymbol();
        } else if (head >= start + static_cast<std::int32_t>(rightCells.size())) {
            rightCells += runner.readSymbol();
        }
    }
    diagram.leftmost = start - static_cast<std::int32_t>(leftCells.size());
    diagram.cells.assign(leftCells.rbegin(), leftCells.rend());
    diagram.cells += rightCells;
    return diagram;
}
