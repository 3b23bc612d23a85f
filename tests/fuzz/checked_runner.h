#ifndef ZARN_TESTS_FUZZ_CHECKED_RUNNER_H
#define ZARN_TESTS_FUZZ_CHECKED_RUNNER_H

#include <optional>
#include <string>
#include <vector>

#include "engine/machine_runner.h"
#include "tests/engine/recording_log_sink.h"
#include "tests/fuzz/expected_parse.h"

// The runner with a view of the rule its next step will apply, so that each
// report can be checked against what the machine was about to do.
class ObservedRunner : public MachineRunner {
public:
    using MachineRunner::MachineRunner;

    const Rule* ruleAboutToApply() const {
        const MachineState* state = currentMachineState();
        return isRunning() && state != nullptr ? state->ruleFor(readSymbol()) : nullptr;
    }
};

// Drives one runner the way a document window does and checks the three logs
// after every call; any broken invariant aborts.
class CheckedRunner {
public:
    CheckedRunner();

    // Parses `text` (up to its first NUL); on success empties the states and
    // tape logs, as the front end does before a run.
    bool parse(const std::string& text);
    // One paced tick of a run; must only be called while runGoingOn().
    bool reportStep();
    bool runGoingOn() const { return runGoingOn_; }

private:
    // The states line a step is expected to append, given the rule it applies.
    std::string expectedStepLine(const Rule* rule) const;
    void checkParserMessages(std::size_t firstNewLine,
                             const std::vector<std::string>& expected) const;
    void checkMachineAfterParse(const ExpectedParse& expected, std::int32_t headBefore,
                                char symbolBefore, const char* startBefore,
                                const char* finishBefore) const;
    void checkTapeLine(const RecordingLogSink::Line& line) const;
    void checkEndOfRun(std::size_t parserLinesBefore, std::size_t statesLinesBefore,
                       std::size_t tapeLinesBefore) const;

    RecordingLogSink parserLog;
    RecordingLogSink statesLog;
    RecordingLogSink tapeLog;
    ObservedRunner runner;
    bool runGoingOn_ = false;
    bool startLineDue = false;
    std::string startLine;
    // The window the first report must show, unless another parse came between.
    std::optional<std::string> firstTapeLine;
    int steps = 0;
};

#endif
