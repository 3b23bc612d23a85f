#ifndef ZARN_TESTS_RECORDING_LOG_SINK_H
#define ZARN_TESTS_RECORDING_LOG_SINK_H

#include <string>
#include <vector>

#include "engine/log_sink.h"

// Keeps every line and marker, as a log list would. The engine tests and the
// fuzz checks share it; a marker for a line that does not exist throws.
class RecordingLogSink : public LogSink {
public:
    struct Line {
        std::string text;
        int marker = -1;
    };

    int appendLogLine(const std::string& text) override {
        lines.push_back({text, -1});
        return static_cast<int>(lines.size()) - 1;
    }
    void setLineMarker(int index, int column) override { lines.at(index).marker = column; }

    std::vector<std::string> texts() const {
        std::vector<std::string> result;
        for (const Line& line : lines) {
            result.push_back(line.text);
        }
        return result;
    }
    const std::string& last() const { return lines.back().text; }

    std::vector<Line> lines;
};

#endif
