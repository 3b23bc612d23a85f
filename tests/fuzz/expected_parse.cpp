#include "tests/fuzz/expected_parse.h"

#include <string_view>

namespace {

constexpr std::size_t maxRuleStateName = 99;

bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::optional<std::string_view> parenthesised(std::string_view line) {
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return line.substr(open + 1, close - open - 1);
}

std::optional<ExpectedTape> tapeOf(std::string_view line) {
    const std::optional<std::string_view> inside = parenthesised(line);
    if (!inside) {
        return std::nullopt;
    }
    ExpectedTape tape;
    for (const char c : *inside) {
        if (c == '.') {
            tape.headOffset = static_cast<int>(tape.cells.size());
        } else {
            tape.cells += c;
        }
    }
    return tape;
}

// A rule state name starts at `start` and must end at a "," before any ")"
// and before the end of the line; returns the position of that ",".
std::optional<std::size_t> ruleNameEnd(std::string_view line, std::size_t start) {
    for (std::size_t i = start; i < line.size(); ++i) {
        if (line[i] == ')') {
            return std::nullopt;
        }
        if (line[i] == ',') {
            return i - start <= maxRuleStateName ? std::optional(i) : std::nullopt;
        }
    }
    return std::nullopt;
}

// (state,symbol?nextState,newSymbol?move: both names must end at a "," and
// both symbols must lie inside the line; the move may be missing.
bool isValidRule(std::string_view line) {
    const std::optional<std::size_t> firstComma = ruleNameEnd(line, 1);
    if (!firstComma || *firstComma + 1 >= line.size()) {
        return false;
    }
    const std::optional<std::size_t> secondComma = ruleNameEnd(line, *firstComma + 3);
    return secondComma && *secondComma + 1 < line.size();
}

class Reading {
public:
    void readLine(int number, std::string_view line) {
        const std::string where = std::to_string(number) + " : ";
        if (line.starts_with("tape")) {
            if (result.tape) {
                fault(where, "tape already defined");
            } else if (!(result.tape = tapeOf(line))) {
                fault(where, "invalid tape string");
            }
        } else if (line.starts_with("(")) {
            if (isValidRule(line)) {
                ruleAccepted = true;
            } else {
                fault(where, "invalid rule");
            }
        } else if (line.starts_with("finish")) {
            readState(where, line, result.finishState, "finish");
        } else if (line.starts_with("start")) {
            readState(where, line, result.startState, "start");
        } else if (!line.starts_with("#")) {
            result.messages.push_back("Error at line " + where + std::string(line));
        }
    }

    ExpectedParse finish() {
        result.runnable = ruleAccepted && result.tape && result.startState && result.finishState;
        return result;
    }

private:
    void fault(const std::string& where, std::string_view message) {
        result.messages.push_back("ERROR at line " + where + std::string(message));
    }
    void readState(const std::string& where, std::string_view line,
                   std::optional<std::string>& state, std::string_view kind) {
        if (state) {
            fault(where, std::string(kind) + " state already defined");
        } else if (const std::optional<std::string_view> name = parenthesised(line)) {
            state = std::string(*name);
        } else {
            fault(where, "invalid " + std::string(kind) + " state string");
        }
    }

    ExpectedParse result;
    bool ruleAccepted = false;
};

}  // namespace

ExpectedParse expectedParse(const std::string& text) {
    const std::string_view whole = std::string_view(text).substr(0, text.find('\0'));
    Reading reading;
    std::size_t position = 0;
    for (int number = 1;; ++number) {
        std::size_t end = position;
        while (end < whole.size() && !isLineBreak(whole[end])) {
            ++end;
        }
        reading.readLine(number, whole.substr(position, end - position));
        while (end < whole.size() && isLineBreak(whole[end])) {
            ++end;
        }
        if (end == whole.size()) {
            return reading.finish();
        }
        position = end;
    }
}
