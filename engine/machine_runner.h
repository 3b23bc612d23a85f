#ifndef ZARN_ENGINE_MACHINE_RUNNER_H
#define ZARN_ENGINE_MACHINE_RUNNER_H

#include <cstdint>
#include <string_view>

#include "engine/log_sink.h"
#include "engine/machine.h"

// The machine one document runs: it parses description texts into itself and
// reports each step as lines in three logs, which it uses but does not own.
class MachineRunner : public Machine {
public:
    MachineRunner(LogSink* parserLog, LogSink* statesLog, LogSink* tapeLog);
    ~MachineRunner() override = default;

    // Stores the sink and writes the banner into it.
    void setParserLog(LogSink* sink);
    void setStatesLog(LogSink* sink) { statesLog = sink; }
    void setTapeLog(LogSink* sink) { tapeLog = sink; }

    // Parses a NUL-terminated description into the machine; returns 1 when it
    // is ready to run. Rules of earlier parses stay behind the new ones.
    int parse(const char* text);

    // Shows the start configuration after a successful parse, and afterwards
    // applies one rule per call; returns 0 once the finish state is reached.
    int reportStep();

private:
    int parseTapeLine(int lineNumber, std::string_view line);
    int parseRuleLine(int lineNumber, std::string_view line);
    int parseStartLine(int lineNumber, std::string_view line);
    int parseFinishLine(int lineNumber, std::string_view line);
    void reportUnrecognisedLine(int lineNumber, std::string_view line);
    void reportLineError(int lineNumber, const char* message);

    void appendStatesLine();
    void appendTapeLine();

    LogSink* parserLog = nullptr;
    LogSink* statesLog = nullptr;
    LogSink* tapeLog = nullptr;
    int firstStep = 0;
    // The start configuration of the last successful parse. Its state is an
    // interned name, so a later failed parse cannot leave it dangling.
    Rule startRecord;
    // 64 bits, so that a run of billions of steps still reports its true count.
    std::int64_t steps = 0;
};

#endif
