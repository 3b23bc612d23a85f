#ifndef ZARN_ENGINE_LOG_SINK_H
#define ZARN_ENGINE_LOG_SINK_H

#include <string>

// The engine's only output: an append-only list of lines, each with a marker
// column (-1 for none) that a view may draw as a box around one character.
class LogSink {
public:
    virtual ~LogSink() = default;

    // Appends a line with marker -1 and returns its index.
    virtual int appendLogLine(const std::string& text) = 0;
    virtual void setLineMarker(int index, int column) = 0;
};

#endif
