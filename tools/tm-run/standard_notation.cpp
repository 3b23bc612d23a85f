#include "tools/tm-run/standard_notation.h"

#include <cctype>
#include <vector>

#include "engine/tape.h"

namespace {

constexpr const char* whitespace = " \t\r\n";
// Z halts, so the states run from A to Y.
constexpr std::size_t mostStates = 25;
constexpr std::size_t mostSymbols = 10;
constexpr char haltName = 'Z';

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(whitespace);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(whitespace) - first + 1);
}

std::vector<std::string> statesOf(const std::string& line) {
    std::vector<std::string> states;
    std::string current;
    for (const char c : line) {
        if (c == '_' || c == ' ' || c == '\t') {
            if (!current.empty() || c == '_') {
                states.push_back(current);
            }
            current.clear();
        } else {
            current += c;
        }
    }
    states.push_back(current);
    return states;
}

char symbolOf(int digit) {
    return digit == 0 ? blankSymbol : static_cast<char>('0' + digit);
}

std::string stateName(std::size_t state) {
    return std::string(1, static_cast<char>('A' + state));
}

// One transition as a rule line, or an error; nothing for "---" and "...".
std::string translateTransition(const std::string& text, std::size_t state, std::size_t symbol,
                                std::size_t stateCount, std::size_t symbolCount,
                                std::string& error) {
    if (text == "---" || text == "...") {
        return "";
    }
    const std::string where =
        "state " + stateName(state) + ", symbol " + std::to_string(symbol) + ": \"" + text + "\" ";
    const char write = text[0];
    if (!std::isdigit(static_cast<unsigned char>(write)) ||
        static_cast<std::size_t>(write - '0') >= symbolCount) {
        error = where + "writes " + std::string(1, write) + ", but the symbols are 0 to " +
                std::to_string(symbolCount - 1);
        return "";
    }
    if (text[1] != 'L' && text[1] != 'R') {
        error = where + "moves " + std::string(1, text[1]) + "; the moves are L and R";
        return "";
    }
    const char next = text[2];
    const std::size_t nextIndex = static_cast<std::size_t>(next - 'A');
    const bool isState = next >= 'A' && nextIndex < stateCount;
    if (!isState && next != haltName && next != 'H') {
        error = where + "goes to " + std::string(1, next) + ", but the states are A to " +
                stateName(stateCount - 1) + ", and Z or H halts";
        return "";
    }
    const std::string nextName = isState ? stateName(nextIndex) : std::string(1, haltName);
    return "(" + stateName(state) + "," + symbolOf(static_cast<int>(symbol)) + "," + nextName +
           "," + symbolOf(write - '0') + "," + text[1] + ")\n";
}

}  // namespace

bool isStandardNotation(const std::string& text) {
    const std::string line = trimmed(text);
    return !line.empty() && line.find_first_of("\r\n") == std::string::npos &&
           (std::isdigit(static_cast<unsigned char>(line[0])) || line[0] == '-' || line[0] == '.');
}

TranslatedMachine translateStandardNotation(const std::string& text) {
    const std::vector<std::string> states = statesOf(trimmed(text));
    TranslatedMachine result;
    if (states.size() > mostStates) {
        result.error = std::to_string(states.size()) + " states; at most " +
                       std::to_string(mostStates) + " (A to Y) can be written";
        return result;
    }
    const std::size_t width = states.front().size();
    const std::size_t symbolCount = width / 3;
    if (width % 3 != 0 || symbolCount == 0 || symbolCount > mostSymbols) {
        result.error = "state A is \"" + states.front() +
                       "\"; it must be 1 to 10 transitions of three characters each (symbol, L "
                       "or R, state), as 1RB";
        return result;
    }
    result.description = "tape()\nstart(A)\nfinish(Z)\n";
    for (std::size_t state = 0; state < states.size(); ++state) {
        if (states[state].size() != width) {
            result.error = "state " + stateName(state) + " is \"" + states[state] +
                           "\", but state A has " + std::to_string(symbolCount) +
                           " transitions of three characters";
            result.description.clear();
            return result;
        }
        for (std::size_t symbol = 0; symbol < symbolCount; ++symbol) {
            result.description +=
                translateTransition(states[state].substr(symbol * 3, 3), state, symbol,
                                    states.size(), symbolCount, result.error);
            if (!result.error.empty()) {
                result.description.clear();
                return result;
            }
        }
    }
    return result;
}
