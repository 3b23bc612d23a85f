#include "tests/fuzz/checked_runner.h"

#include <string_view>
#include <vector>

#include "tests/fuzz/expected_parse.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

constexpr std::string_view hyphenLine = "--------------------------------------------";
constexpr int windowLength = 60;
constexpr int markerOffset = 2;

// Log lines end up as CR LF lines of the output file and as C strings in the
// list boxes, so none may hold a NUL or a line break.
bool isSingleLine(std::string_view text) {
    return text.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos;
}

// How the states log writes a move, and how far it takes the head.
struct MoveSeen {
    char letter;
    int distance;
};

MoveSeen seen(Move move) {
    switch (move) {
        case Move::Left:
            return {'L', -1};
        case Move::Right:
            return {'R', 1};
        default:
            return {'0', 0};
    }
}

// The tape window a report shows right after `tape` was laid.
std::string windowOf(const ExpectedTape& tape) {
    std::string window(windowLength, '^');
    for (int column = 0; column < windowLength; ++column) {
        const int position = column - markerOffset;
        if (position >= 0 && position < static_cast<int>(tape.cells.size())) {
            window[static_cast<std::size_t>(column)] =
                tape.cells[static_cast<std::size_t>(position)];
        }
    }
    return window;
}

}  // namespace

CheckedRunner::CheckedRunner() : runner(&parserLog, &statesLog, &tapeLog) {
    fuzzCheck(parserLog.lines.size() == 1 && parserLog.lines[0].text == "ZARN Turing Machine 1.00",
              "the parser log begins with the banner");
}

bool CheckedRunner::parse(const std::string& text) {
    const std::size_t firstNewLine = parserLog.lines.size();
    const std::int32_t headBefore = runner.headPosition();
    const char symbolBefore = runner.readSymbol();
    const char* startBefore = runner.currentState();
    const char* finishBefore = runner.finishState();
    const ExpectedParse expected = expectedParse(text);

    const int result = runner.parse(text.c_str());

    fuzzCheck(result == (expected.runnable ? 1 : 0), "parse returns 1 exactly for a runnable text");
    checkParserMessages(firstNewLine, expected.messages);
    fuzzCheck(runner.isRunning(), "every parse sets the machine running");
    checkMachineAfterParse(expected, headBefore, symbolBefore, startBefore, finishBefore);
    firstTapeLine.reset();
    if (result == 1) {
        statesLog.lines.clear();
        tapeLog.lines.clear();
        startLine = "(" + *expected.startState + ',' + runner.readSymbol() + ')';
        firstTapeLine = windowOf(*expected.tape);
        startLineDue = true;
        runGoingOn_ = true;
        steps = 0;
    }
    return result == 1;
}

void CheckedRunner::checkParserMessages(std::size_t firstNewLine,
                                        const std::vector<std::string>& expected) const {
    const std::vector<RecordingLogSink::Line>& log = parserLog.lines;
    fuzzCheck(log.size() == firstNewLine + expected.size() + 3,
              "one message per faulty or unrecognised line");
    fuzzCheck(log[firstNewLine].text == hyphenLine, "a parse begins with the 44-hyphen line");
    fuzzCheck(log[firstNewLine + 1].text == "Parsing text...", "then \"Parsing text...\"");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const RecordingLogSink::Line& message = log[firstNewLine + 2 + i];
        fuzzCheck(message.text == expected[i],
                  "each message names its line and its fault, in text order");
        fuzzCheck(message.marker == -1, "parser lines carry no marker");
    }
    fuzzCheck(log.back().text == "-Done.", "a parse ends with \"-Done.\"");
}

void CheckedRunner::checkMachineAfterParse(const ExpectedParse& expected, std::int32_t headBefore,
                                           char symbolBefore, const char* startBefore,
                                           const char* finishBefore) const {
    if (expected.tape) {
        const ExpectedTape& tape = *expected.tape;
        fuzzCheck(runner.headPosition() == tape.headOffset,
                  "an accepted tape line places the head at its \".\"");
        const bool onCell = tape.headOffset < static_cast<int>(tape.cells.size());
        fuzzCheck(runner.readSymbol() ==
                      (onCell ? tape.cells[static_cast<std::size_t>(tape.headOffset)] : '^'),
                  "the head starts on the cell after the \".\"");
    } else {
        fuzzCheck(runner.headPosition() == headBefore && runner.readSymbol() == symbolBefore,
                  "without an accepted tape line the tape stays as it was");
    }
    const auto checkState = [](const char* now, const std::optional<std::string>& accepted,
                               const char* before, const char* invariant) {
        fuzzCheck(accepted ? now != nullptr && now == *accepted : now == before, invariant);
    };
    checkState(runner.currentState(), expected.startState, startBefore,
               "an accepted start line sets the current state, else the state stays");
    checkState(runner.finishState(), expected.finishState, finishBefore,
               "an accepted finish line sets the finish state, else it stays");
}

std::string CheckedRunner::expectedStepLine(const Rule* rule) const {
    if (rule == nullptr) {
        // A step that finds no rule shows the previous line again.
        return statesLog.lines.back().text;
    }
    return "(" + rule->state->name() + ',' + rule->symbol + ',' + rule->nextState->name() + ',' +
           rule->newSymbol + ',' + seen(rule->move).letter + ')';
}

bool CheckedRunner::reportStep() {
    fuzzCheck(runGoingOn_, "reportStep is only called during a run");
    const std::size_t parserLinesBefore = parserLog.lines.size();
    const std::size_t statesLinesBefore = statesLog.lines.size();
    const std::size_t tapeLinesBefore = tapeLog.lines.size();
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

    fuzzCheck(result == (finishes ? 0 : 1),
              "reportStep returns 0 exactly when the finish state is reached");
    fuzzCheck(statesLog.lines.size() == tapeLog.lines.size(),
              "the states and tape logs grow in step");
    fuzzCheck(statesLog.lines.size() == statesLinesBefore + (finishes ? 2 : 1),
              "one states line per report, plus Finished! at the end");
    fuzzCheck(parserLog.lines.size() == parserLinesBefore + (finishes ? 1 : 0),
              "the parser log only gets the completion line");
    const RecordingLogSink::Line& statesLine = statesLog.lines[statesLinesBefore];
    fuzzCheck(statesLine.text == expectedStatesLine,
              "the states line shows the start or the rule applied");
    fuzzCheck(isSingleLine(statesLine.text), "a states line is a single line");
    checkTapeLine(tapeLog.lines[tapeLinesBefore]);
    if (showsStart && firstTapeLine) {
        fuzzCheck(tapeLog.lines[tapeLinesBefore].text == *firstTapeLine,
                  "the first report shows the tape as the tape line laid it");
    }
    firstTapeLine.reset();

    if (rule != nullptr) {
        fuzzCheck(runner.currentState() == nextState, "an applied rule leads into its next state");
        fuzzCheck(runner.headPosition() == headBefore + seen(move).distance,
                  "the head moves as the rule says");
        const std::int32_t oldColumn = headBefore + markerOffset;
        if (oldColumn >= 0 && oldColumn < windowLength) {
            fuzzCheck(tapeLog.lines[tapeLinesBefore].text[static_cast<std::size_t>(oldColumn)] ==
                          newSymbol,
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

void CheckedRunner::checkTapeLine(const RecordingLogSink::Line& line) const {
    fuzzCheck(line.text.size() == windowLength, "every tape line is 60 characters");
    fuzzCheck(isSingleLine(line.text), "a tape line is a single line");
    fuzzCheck(line.marker == runner.headPosition() + markerOffset,
              "the marker is the head position plus 2");
    if (line.marker >= 0 && line.marker < windowLength) {
        fuzzCheck(line.text[static_cast<std::size_t>(line.marker)] == runner.readSymbol(),
                  "the marked cell holds the symbol under the head");
    }
}

void CheckedRunner::checkEndOfRun(std::size_t parserLinesBefore, std::size_t statesLinesBefore,
                                  std::size_t tapeLinesBefore) const {
    fuzzCheck(parserLog.lines[parserLinesBefore].text ==
                  "Run complete! " + std::to_string(steps) + " steps.",
              "the completion line counts every step since the parse");
    for (const RecordingLogSink::Line& finished :
         {statesLog.lines[statesLinesBefore + 1], tapeLog.lines[tapeLinesBefore + 1]}) {
        fuzzCheck(finished.text == "Finished!" && finished.marker == -1,
                  "a run ends with Finished! in both logs");
    }
    fuzzCheck(!runner.isRunning(), "a finished machine no longer runs");
}
