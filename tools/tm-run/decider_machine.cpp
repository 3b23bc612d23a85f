#include "tools/tm-run/decider_machine.h"

#include <algorithm>
#include <cctype>

#include "engine/machine_runner.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/stream_log_sink.h"

namespace {

constexpr int mostOneLineStates = 26;
constexpr int mostOneLineSymbols = 10;

std::string letter(int state) {
    return std::string(1, static_cast<char>('A' + state));
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::string current;
    for (const char c : line) {
        if (c == '_' || c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            if (!current.empty()) {
                fields.push_back(current);
            }
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        fields.push_back(current);
    }
    return fields;
}

bool parseTransition(const std::string& text, const DeciderMachine& machine, bool hasStateH,
                     DeciderTransition& transition) {
    if (text == "---" || text == "...") {
        return true;
    }
    const int write = text[0] - '0';
    const int next = text[2] - 'A';
    const bool halts = text[2] == 'Z' || (text[2] == 'H' && !hasStateH);
    if (write < 0 || write >= machine.symbolCount || (text[1] != 'L' && text[1] != 'R') ||
        (!halts && (next < 0 || next >= machine.stateCount))) {
        return false;
    }
    transition = {static_cast<std::uint8_t>(write),
                  static_cast<std::int8_t>(text[1] == 'L' ? -1 : 1),
                  halts ? DeciderTransition::halt : static_cast<std::uint8_t>(next), true};
    return true;
}

}  // namespace

DeciderMachine blankDeciderMachine(int stateCount, int symbolCount) {
    DeciderMachine machine;
    machine.stateCount = stateCount;
    machine.symbolCount = symbolCount;
    machine.table.resize(static_cast<std::size_t>(stateCount) *
                         static_cast<std::size_t>(symbolCount));
    for (int state = 0; state < stateCount; ++state) {
        machine.stateNames.push_back(letter(state));
    }
    for (int symbol = 0; symbol < symbolCount; ++symbol) {
        machine.symbolNames.push_back(symbol == 0 ? blankSymbol : static_cast<char>('0' + symbol));
    }
    return machine;
}

DeciderMachine parseOneLine(const std::string& line, std::string& error) {
    const std::vector<std::string> fields = fieldsOf(line);
    const std::size_t width = fields.empty() ? 0 : fields.front().size();
    if (fields.empty() || fields.size() > mostOneLineStates || width % 3 != 0 || width == 0 ||
        width / 3 > mostOneLineSymbols) {
        error =
            "expected 1 to 26 states of 1 to 10 transitions such as 1RB, one state after "
            "another, separated by \"_\"";
        return {};
    }
    DeciderMachine machine =
        blankDeciderMachine(static_cast<int>(fields.size()), static_cast<int>(width / 3));
    const bool hasStateH = machine.stateCount > 'H' - 'A';
    for (int state = 0; state < machine.stateCount; ++state) {
        if (fields[state].size() != width) {
            error = "state " + letter(state) + " is \"" + fields[state] + "\", but state A has " +
                    std::to_string(width / 3) + " transitions";
            return {};
        }
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            const std::string text = fields[state].substr(symbol * 3, 3);
            if (!parseTransition(text, machine, hasStateH, machine.at(state, symbol))) {
                error = "state " + letter(state) + ", symbol " + std::to_string(symbol) + ": \"" +
                        text + "\" is no transition";
                return {};
            }
        }
    }
    return machine;
}

std::string oneLineOf(const DeciderMachine& machine) {
    std::string line;
    for (int state = 0; state < machine.stateCount; ++state) {
        if (state > 0) {
            line += '_';
        }
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            const DeciderTransition& transition = machine.at(state, symbol);
            if (!transition.defined) {
                line += "---";
                continue;
            }
            line += static_cast<char>('0' + transition.write);
            line += transition.move < 0 ? 'L' : 'R';
            line += transition.halts() ? std::string("Z") : letter(transition.next);
        }
    }
    return line;
}

bool DeciderMachine::startsBlank() const {
    return std::all_of(startTape.begin(), startTape.end(),
                       [](std::uint8_t cell) { return cell == 0; });
}

bool deciderMachineOf(const std::string& description, DeciderMachine& machine, std::string& error) {
    StreamLogSink quiet(nullptr);
    MachineRunner runner(&quiet, nullptr, nullptr);
    if (runner.parse(description.c_str()) == 0) {
        // Parsed again, only to show the parser's messages.
        StreamLogSink errors(stderr);
        MachineRunner(&errors, nullptr, nullptr).parse(description.c_str());
        error = "the description has errors";
        return false;
    }
    const CompiledRules rules(runner);
    // The symbols the machine can ever see: the blank first, then the tape's
    // and the rules' in order of their codes.
    const auto length =
        static_cast<std::int32_t>(std::min<std::size_t>(description.size(), 1 << 20));
    std::string start(static_cast<std::size_t>(length), blankSymbol);
    runner.readWindow(0, length, start.data());
    std::vector<bool> seen(256);
    seen[static_cast<unsigned char>(blankSymbol)] = true;
    for (const char cell : start) {
        seen[static_cast<unsigned char>(cell)] = true;
    }
    const StateIndex finish = rules.finish();
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        for (int code = 1; code < 256; ++code) {
            const CompiledRule& rule = rules.rule(state, static_cast<char>(code));
            // An unmatched symbol keeps the default rule, which writes NUL.
            if (rule.write != 0 && state != finish) {
                seen[static_cast<unsigned char>(code)] = true;
                seen[static_cast<unsigned char>(rule.write)] = true;
            }
        }
    }
    std::vector<int> indexOf(256, -1);
    machine = {};
    machine.symbolNames.push_back(blankSymbol);
    indexOf[static_cast<unsigned char>(blankSymbol)] = 0;
    for (int code = 1; code < 256; ++code) {
        if (seen[code] && code != static_cast<unsigned char>(blankSymbol)) {
            indexOf[code] = static_cast<int>(machine.symbolNames.size());
            machine.symbolNames.push_back(static_cast<char>(code));
        }
    }
    // The finish state has no transitions of its own: entering it halts.
    std::vector<int> stateIndex(rules.stateCount(), -1);
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        if (state != finish) {
            stateIndex[state] = static_cast<int>(machine.stateNames.size());
            machine.stateNames.push_back(rules.name(state));
        }
    }
    if (finish == rules.start()) {
        error = "the machine starts in its finish state";
        return false;
    }
    if (machine.symbolNames.size() > DeciderTransition::halt ||
        machine.stateNames.size() >= DeciderTransition::halt) {
        error = "too many states or symbols to study";
        return false;
    }
    machine.stateCount = static_cast<int>(machine.stateNames.size());
    machine.symbolCount = static_cast<int>(machine.symbolNames.size());
    machine.table.resize(static_cast<std::size_t>(machine.stateCount) *
                         static_cast<std::size_t>(machine.symbolCount));
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        for (int symbol = 0; state != finish && symbol < machine.symbolCount; ++symbol) {
            const CompiledRule& rule = rules.rule(state, machine.symbolNames[symbol]);
            if (rule.write == 0) {
                continue;
            }
            machine.at(stateIndex[state], symbol) = {
                static_cast<std::uint8_t>(indexOf[static_cast<unsigned char>(rule.write)]),
                rule.move,
                rule.next == finish ? DeciderTransition::halt
                                    : static_cast<std::uint8_t>(stateIndex[rule.next]),
                true};
        }
    }
    for (const char cell : start) {
        machine.startTape.push_back(
            static_cast<std::uint8_t>(indexOf[static_cast<unsigned char>(cell)]));
    }
    machine.startHead = runner.headPosition();
    return true;
}
