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

void MachineRunner::appendStartLine() {
    std::string line = "(";
    line += lastRule->state->name();
    line += ',';
    line += lastRule->symbol;
    line += ')';
    statesLog->appendLogLine(line);
}

void MachineRunner::appendStepLine() {
    std::string line = "(";
    line += lastRule->state->name();
    line += ',';
    line += lastRule->symbol;
    line += ',';
    line += lastRule->nextState->name();
    line += ',';
    line += lastRule->newSymbol;
    line += ',';
    line += moveCharacter(lastRule->move);
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
        appendStartLine();
    } else {
        ++steps;
        step();
        // Until a rule applies there is no step to show, only the start.
        if (lastRule == &startRecord) {
            appendStartLine();
        } else {
            appendStepLine();
        }
    }
    appendTapeLine();
    if (!isRunning()) {
        parserLog->appendLogLine("Run complete! " + std::to_string(steps) + " steps.");
        statesLog->appendLogLine("Finished!");
        tapeLog->appendLogLine("Finished!");
    }
    return isRunning() ? 1 : 0;
}
