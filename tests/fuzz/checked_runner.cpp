#include "tests/fuzz/checked_runner.h"

#include <array>
#include <charconv>
#include <string_view>
#include <vector>

#include "tests/fuzz/description_lines.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::string_view hyphenLine = "--------------------------------------------";
constexpr std::string_view faultPrefix = "ERROR at line ";
constexpr std::string_view unrecognisedPrefix = "Error at line ";
constexpr std::string_view numberSeparator = " : ";
constexpr int windowLength = 60;
constexpr int markerOffset = 2;

struct FixedMessage {
    std::string_view text;
    LineKind kind;
};

constexpr std::array<FixedMessage, 7> fixedMessages{{
    {"invalid tape string", LineKind::Tape},
    {"tape already defined", LineKind::Tape},
    {"invalid rule", LineKind::Rule},
    {"invalid start state string", LineKind::Start},
    {"start state already defined", LineKind::Start},
    {"invalid finish state string", LineKind::Finish},
    {"finish state already defined", LineKind::Finish},
}};

// Log lines end up as CR LF lines of the output file and as C strings in the
// list boxes, so none may hold a NUL or a line break.
bool isSingleLine(std::string_view text) { return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos; }

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

int moveDistance(Move move) {
    switch (move) {
        case Move::Left:
            return -1;
        case Move::Right:
            return 1;
        default:
            return 0;
    }
}

// Splits "<prefix><number> : <rest>" into number and rest; the number must be
// written as the parser writes it, without sign or leading zeros.
bool splitMessage(std::string_view line, std::string_view prefix, int& number, std::string_view& rest) {
    if (!line.starts_with(prefix)) {
        return false;
    }
    line.remove_prefix(prefix.size());
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), number);
    if (error != std::errc() || number < 1 || std::to_string(number) != line.substr(0, static_cast<std::size_t>(end - line.data()))) {
        return false;
    }
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    if (!line.starts_with(numberSeparator)) {
        return false;
    }
    rest = line.substr(numberSeparator.size());
    return true;
}

const FixedMessage* fixedMessageNamed(std::string_view text) {
    for (const FixedMessage& message : fixedMessages) {
        if (message.text == text) {
            return &message;
        }
    }
    return nullptr;
}

}  // namespace

CheckedRunner::CheckedRunner() : runner(&parserLog, &statesLog, &tapeLog) {
    fuzzCheck(parserLog.lines().size() == 1 && parserLog.lines()[0].text == "ZARN Turing Machine 1.00",
              "the parser log begins with the banner");
}

bool CheckedRunner::parse(const std::string& text) {
    const std::size_t firstNewLine = parserLog.lines().size();
    const int result = runner.parse(text.c_str());
    fuzzCheck(result == 0 || result == 1, "parse returns 0 or 1");
    checkParserMessages(text, firstNewLine, result);
    fuzzCheck(runner.isRunning(), "every parse sets the machine running");
    if (result == 1) {
        statesLog.clear();
        tapeLog.clear();
        const char* start = runner.currentState();
        fuzzCheck(start != nullptr, "a runnable machine has a start state");
        startLine = std::string("(") + start + ',' + runner.readSymbol() + ')';
        startLineDue = true;
        runGoingOn_ = true;
        steps = 0;
    }
    return result == 1;
}

void CheckedRunner::checkParserMessages(const std::string& text, std::size_t firstNewLine, int result) const {
    const std::vector<LoggedLine>& log = parserLog.lines();
    fuzzCheck(log.size() >= firstNewLine + 3, "a parse writes its hyphen line, start line and -Done.");
    fuzzCheck(log[firstNewLine].text == hyphenLine, "a parse begins with the 44-hyphen line");
    fuzzCheck(log[firstNewLine + 1].text == "Parsing text...", "then \"Parsing text...\"");
    fuzzCheck(log.back().text == "-Done.", "a parse ends with \"-Done.\"");

    const std::vector<DescriptionLine> lines = descriptionLines(text);
    std::size_t unrecognisedLines = 0;
    std::array<bool, 6> kindPresent{};
    for (const DescriptionLine& line : lines) {
        kindPresent[static_cast<std::size_t>(line.kind)] = true;
        unrecognisedLines += line.kind == LineKind::Unrecognised ? 1 : 0;
    }

    std::size_t unrecognisedReports = 0;
    int previousNumber = 0;
    for (std::size_t i = firstNewLine + 2; i + 1 < log.size(); ++i) {
        const std::string_view message = log[i].text;
        fuzzCheck(log[i].marker == -1, "parser lines carry no marker");
        int number = 0;
        std::string_view rest;
        const bool fault = splitMessage(message, faultPrefix, number, rest);
        fuzzCheck(fault || splitMessage(message, unrecognisedPrefix, number, rest),
                  "every message is an ERROR or Error line with a line number");
        fuzzCheck(number > previousNumber, "line numbers rise within one parse, one message per line");
        previousNumber = number;
        fuzzCheck(static_cast<std::size_t>(number) <= lines.size(), "a message names a line of the text");
        const DescriptionLine& line = lines[static_cast<std::size_t>(number) - 1];
        if (fault) {
            const FixedMessage* fixed = fixedMessageNamed(rest);
            fuzzCheck(fixed != nullptr, "an ERROR line carries one of the fixed messages");
            fuzzCheck(fixed->kind == line.kind, "an ERROR message fits the kind of its line");
        } else {
            fuzzCheck(line.kind == LineKind::Unrecognised, "only unrecognised lines get an Error line");
            fuzzCheck(rest == line.text, "an Error line quotes its line whole");
            ++unrecognisedReports;
        }
        fuzzCheck(isSingleLine(message), "a message is a single line");
    }
    fuzzCheck(unrecognisedReports == unrecognisedLines, "every unrecognised line is reported");
    if (result == 1) {
        for (const LineKind kind : {LineKind::Tape, LineKind::Rule, LineKind::Start, LineKind::Finish}) {
            fuzzCheck(kindPresent[static_cast<std::size_t>(kind)],
                      "a runnable text has tape, rule, start and finish lines");
        }
    }
}

std::string CheckedRunner::expectedStepLine(const Rule* rule) const {
    if (rule == nullptr) {
        // A step that finds no rule shows the previous line again.
        return statesLog.lines().back().text;
    }
    return "(" + rule->state->name() + ',' + rule->symbol + ',' + rule->nextState->name() + ',' +
           rule->newSymbol + ',' + moveCharacter(rule->move) + ')';
}

bool CheckedRunner::reportStep() {
    fuzzCheck(runGoingOn_, "reportStep is only called during a run");
    const std::size_t parserLinesBefore = parserLog.lines().size();
    const std::size_t statesLinesBefore = statesLog.lines().size();
    const std::size_t tapeLinesBefore = tapeLog.lines().size();
    const std::int32_t headBefore = runner.headPosition();
    const char symbolBefore = runner.readSymbol();
    const char* stateBefore = runner.currentState();

    const bool showsStart = startLineDue;
    const Rule* rule = showsStart ? nullptr : runner.ruleAboutToApply();
    const std::string expectedStatesLine = showsStart ? startLine : expectedStepLine(rule);
    const char* finish = runner.finishState();
    const bool finishes = rule != nullptr && finish != nullptr && rule->nextState->name() == finish;
    const std::string nextState = rule != nullptr ? rule->nextState->name() : std::string();
    const Move move = rule != nullptr ? rule->move : Move::None;
    const char newSymbol = rule != nullptr ? rule->newSymbol : symbolBefore;
    startLineDue = false;
    steps += showsStart ? 0 : 1;

    const int result = runner.reportStep();

    fuzzCheck(result == (finishes ? 0 : 1), "reportStep returns 0 exactly when the finish state is reached");
    fuzzCheck(statesLog.lines().size() == tapeLog.lines().size(), "the states and tape logs grow in step");
    fuzzCheck(statesLog.lines().size() == statesLinesBefore + (finishes ? 2 : 1),
              "one states line per report, plus Finished! at the end");
    fuzzCheck(parserLog.lines().size() == parserLinesBefore + (finishes ? 1 : 0),
              "the parser log only gets the completion line");
    const LoggedLine& statesLine = statesLog.lines()[statesLinesBefore];
    fuzzCheck(statesLine.text == expectedStatesLine, "the states line shows the start or the rule applied");
    fuzzCheck(isSingleLine(statesLine.text), "a states line is a single line");
    checkTapeLine(tapeLog.lines()[tapeLinesBefore]);

    if (rule != nullptr) {
        fuzzCheck(runner.currentState() == nextState, "an applied rule leads into its next state");
        fuzzCheck(runner.headPosition() == headBefore + moveDistance(move), "the head moves as the rule says");
        const std::int32_t oldColumn = headBefore + markerOffset;
        if (oldColumn >= 0 && oldColumn < windowLength) {
            fuzzCheck(tapeLog.lines()[tapeLinesBefore].text[static_cast<std::size_t>(oldColumn)] == newSymbol,
                      "the rule's new symbol is written under the head");
        }
    } else {
        fuzzCheck(runner.headPosition() == headBefore && runner.readSymbol() == symbolBefore &&
                      runner.currentState() == stateBefore,
                  "a report that applies no rule changes nothing in the machine");
    }
    if (finishes) {
        checkEndOfRun(parserLinesBefore, statesLinesBefore, tapeLinesBefore);
        runGoingOn_ = false;
    }
    return result == 1;
}

void CheckedRunner::checkTapeLine(const LoggedLine& line) const {
    fuzzCheck(line.text.size() == windowLength, "every tape line is 60 characters");
    fuzzCheck(isSingleLine(line.text), "a tape line is a single line");
    fuzzCheck(line.marker == runner.headPosition() + markerOffset, "the marker is the head position plus 2");
    if (line.marker >= 0 && line.marker < windowLength) {
        fuzzCheck(line.text[static_cast<std::size_t>(line.marker)] == runner.readSymbol(),
                  "the marked cell holds the symbol under the head");
    }
}

void CheckedRunner::checkEndOfRun(std::size_t parserLinesBefore, std::size_t statesLinesBefore,
                                  std::size_t tapeLinesBefore) const {
    fuzzCheck(parserLog.lines()[parserLinesBefore].text == "Run complete! " + std::to_string(steps) + " steps.",
              "the completion line counts every step since the parse");
    for (const LoggedLine& finished : {statesLog.lines()[statesLinesBefore + 1], tapeLog.lines()[tapeLinesBefore + 1]}) {
        fuzzCheck(finished.text == "Finished!" && finished.marker == -1, "a run ends with Finished! in both logs");
    }
    fuzzCheck(!runner.isRunning(), "a finished machine no longer runs");
}
