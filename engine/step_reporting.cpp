#include <string>

#include "engine/machine_runner.h"

namespace {

constexpr std::int32_t windowOffset = -2;
constexpr std::int32_t windowLength = 60;

char moveCharacter(Move move) {
    switch (move) {
        case Move::Left:
            return 'L';
        case Move::Right:
            return 'R';
        default:
            return '0';
    }
}

}  // namespace

// Until a rule has applied, the start configuration is all there is to show,
// also when the first steps find no rule.
void MachineRunner::appendStatesLine() {
    std::string line = "(" + lastRule->state->name() + ',' + lastRule->symbol;
    if (lastRule != &startRecord) {
        line += ',' + lastRule->nextState->name() + ',' + lastRule->newSymbol + ',' +
                moveCharacter(lastRule->move);
    }
    line += ')';
    statesLog->appendLogLine(line);
}

void MachineRunner::appendTapeLine() {
    std::string window(windowLength, blankSymbol);
    readWindow(windowOffset, windowLength, window.data());
    const int index = tapeLog->appendLogLine(window);
    tapeLog->setLineMarker(index, headPosition() - windowOffset);
}

int MachineRunner::reportStep() {
    if (firstStep != 0) {
        firstStep = 0;
    } else {
        ++steps;
        step();
    }
    appendStatesLine();
    appendTapeLine();
    if (!isRunning()) {
        parserLog->appendLogLine("Run complete! " + std::to_string(steps) + " steps.");
        statesLog->appendLogLine("Finished!");
        tapeLog->appendLogLine("Finished!");
    }
    return isRunning() ? 1 : 0;
}
