#include <algorithm>
#include <string>

#include "engine/machine_runner.h"

namespace {

// A rule line's state names are limited to this many characters.
constexpr std::size_t maxStateNameLength = 99;

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool startsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

// The text between the first "(" and the first ")" after it, if the line has both.
bool parenthesised(std::string_view line, std::string_view& inside) {
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos) {
        return false;
    }
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) {
        return false;
    }
    inside = line.substr(open + 1, close - open - 1);
    return true;
}

// Reads a rule's state name from `position` up to the first "," or ")" or the
// end of the line; leaves `position` on that terminator.
bool readStateName(std::string_view line, std::size_t& position, std::string& name) {
    const std::size_t end = std::min(line.find_first_of(",)", position), line.size());
    if (end >= line.size() || line[end] != ',' || end - position > maxStateNameLength) {
        return false;
    }
    name.assign(line.substr(position, end - position));
    position = end;
    return true;
}

Move moveFor(char c) {
    switch (c) {
        case 'L':
            return Move::Left;
        case 'R':
            return Move::Right;
        default:
            return Move::None;
    }
}

}  // namespace

int MachineRunner::parse(const char* text) {
    setRunning();
    parserLog->appendLogLine("--------------------------------------------");
    parserLog->appendLogLine("Parsing text...");

    bool tapeAccepted = false;
    bool startAccepted = false;
    bool finishAccepted = false;
    bool ruleAccepted = false;
    int lineNumber = 1;
    const char* position = text;
    while (true) {
        const char* end = position;
        while (*end != '\0' && !isLineBreak(*end)) {
            ++end;
        }
        const std::string_view line(position, static_cast<std::size_t>(end - position));
        if (startsWith(line, "tape")) {
            if (tapeAccepted) {
                reportLineError(lineNumber, "tape already defined");
            } else {
                tapeAccepted = parseTapeLine(lineNumber, line) != 0;
            }
        } else if (startsWith(line, "(")) {
            ruleAccepted = (parseRuleLine(lineNumber, line) != 0) || ruleAccepted;
        } else if (startsWith(line, "finish")) {
            if (finishAccepted) {
                reportLineError(lineNumber, "finish state already defined");
            } else {
                finishAccepted = parseFinishLine(lineNumber, line) != 0;
            }
        } else if (startsWith(line, "start")) {
            if (startAccepted) {
                reportLineError(lineNumber, "start state already defined");
            } else {
                startAccepted = parseStartLine(lineNumber, line) != 0;
            }
        } else if (!startsWith(line, "#")) {
            reportUnrecognisedLine(lineNumber, line);
        }

        while (isLineBreak(*end)) {
            ++end;
        }
        if (*end == '\0') {
            break;
        }
        position = end;
        ++lineNumber;
    }
    parserLog->appendLogLine("-Done.");

    if (!(ruleAccepted && tapeAccepted && startAccepted && finishAccepted)) {
        return 0;
    }
    startRecord = Rule{currentMachineState(), readSymbol()};
    lastRule = &startRecord;
    firstStep = 1;
    steps = 0;
    return 1;
}

int MachineRunner::parseTapeLine(int lineNumber, std::string_view line) {
    std::string_view inside;
    if (!parenthesised(line, inside)) {
        reportLineError(lineNumber, "invalid tape string");
        return 0;
    }
    reset();
    std::int32_t cellCount = 0;
    std::int32_t headOffset = 0;
    for (const char c : inside) {
        if (c == '.') {
            headOffset = cellCount;
        } else {
            writeSymbol(c);
            moveRight();
            ++cellCount;
        }
    }
    for (std::int32_t i = 0; i < cellCount; ++i) {
        moveLeft();
    }
    for (std::int32_t i = 0; i < headOffset; ++i) {
        moveRight();
    }
    return 1;
}

// Fields are read by position: (state,symbol?nextState,newSymbol?move where
// each "?" is a character skipped unchecked. A line that ends early never
// reads past its end: a missing symbol is an error, a missing move is None.
int MachineRunner::parseRuleLine(int lineNumber, std::string_view line) {
    std::string state;
    std::string nextState;
    std::size_t position = 1;
    if (!readStateName(line, position, state) || position + 1 >= line.size()) {
        reportLineError(lineNumber, "invalid rule");
        return 0;
    }
    const char symbol = line[position + 1];
    position = std::min(position + 3, line.size());
    if (!readStateName(line, position, nextState) || position + 1 >= line.size()) {
        reportLineError(lineNumber, "invalid rule");
        return 0;
    }
    const char newSymbol = line[position + 1];
    const std::size_t movePosition = position + 3;
    const Move move = movePosition < line.size() ? moveFor(line[movePosition]) : Move::None;
    addRule(state.c_str(), symbol, nextState.c_str(), newSymbol, move);
    return 1;
}

int MachineRunner::parseStartLine(int lineNumber, std::string_view line) {
    std::string_view name;
    if (!parenthesised(line, name)) {
        reportLineError(lineNumber, "invalid start state string");
        return 0;
    }
    setCurrentState(std::string(name).c_str());
    return 1;
}

int MachineRunner::parseFinishLine(int lineNumber, std::string_view line) {
    std::string_view name;
    if (!parenthesised(line, name)) {
        reportLineError(lineNumber, "invalid finish state string");
        return 0;
    }
    setFinishState(std::string(name).c_str());
    return 1;
}

void MachineRunner::reportUnrecognisedLine(int lineNumber, std::string_view line) {
    std::string message = "Error at line " + std::to_string(lineNumber) + " : ";
    message += line;
    parserLog->appendLogLine(message);
}

void MachineRunner::reportLineError(int lineNumber, const char* message) {
    parserLog->appendLogLine("ERROR at line " + std::to_string(lineNumber) + " : " + message);
}
