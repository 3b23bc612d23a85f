#include "engine/machine_runner.h"

MachineRunner::MachineRunner(LogSink* parserLog, LogSink* statesLog, LogSink* tapeLog) {
    setParserLog(parserLog);
    setStatesLog(statesLog);
    setTapeLog(tapeLog);
}

void MachineRunner::setParserLog(LogSink* sink) {
    parserLog = sink;
    if (parserLog != nullptr) {
        parserLog->appendLogLine("ZARN Turing Machine 1.00");
    }
}
