#ifndef ZARN_TESTS_FUZZ_RECORDING_SINK_H
#define ZARN_TESTS_FUZZ_RECORDING_SINK_H

#include <string>
#include <vector>

#include "engine/log_sink.h"
#include "tests/fuzz/fuzz_check.h"

struct LoggedLine {
    std::string text;
    int marker = -1;
};

// A log that keeps every line with its marker, as a log list would.
class RecordingSink : public LogSink {
public:
    int appendLogLine(const std::string& text) override {
        lines_.push_back({text, -1});
        return static_cast<int>(lines_.size()) - 1;
    }
    void setLineMarker(int index, int column) override {
        fuzzCheck(index >= 0 && static_cast<std::size_t>(index) < lines_.size(),
                  "a marker is set only on a line that exists");
        lines_[static_cast<std::size_t>(index)].marker = column;
    }

    // What the front end does to the states and tape logs before a run.
    void clear() { lines_.clear(); }
    const std::vector<LoggedLine>& lines() const { return lines_; }

private:
    std::vector<LoggedLine> lines_;
};

#endif
