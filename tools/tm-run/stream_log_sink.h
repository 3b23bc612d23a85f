#ifndef ZARN_TOOLS_TM_RUN_STREAM_LOG_SINK_H
#define ZARN_TOOLS_TM_RUN_STREAM_LOG_SINK_H

#include <cstdio>
#include <string>

#include "engine/log_sink.h"

// A log printed line by line as it grows. Plain text has nowhere to draw a
// marker, so markers are dropped; a null stream drops the lines too.
class StreamLogSink : public LogSink {
public:
    explicit StreamLogSink(std::FILE* stream) : stream(stream) {}

    void redirect(std::FILE* newStream) { stream = newStream; }

    int appendLogLine(const std::string& text) override {
        if (stream != nullptr) {
            std::fwrite(text.data(), 1, text.size(), stream);
            std::fputc('\n', stream);
        }
        return lineCount++;
    }
    void setLineMarker(int, int) override {}

private:
    std::FILE* stream;
    int lineCount = 0;
};

#endif
