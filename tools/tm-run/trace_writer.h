#ifndef ZARN_TOOLS_TM_RUN_TRACE_WRITER_H
#define ZARN_TOOLS_TM_RUN_TRACE_WRITER_H

#include <cstdio>
#include <memory>
#include <string>

#include "engine/log_sink.h"

// Writes a run's states log and tape log side by side as the workbench's Save
// output does: states line, TAB, tape line, CR LF. Each pair goes to the file
// as soon as its tape line arrives, so a trace of any length needs no more
// memory than one line.
class TraceWriter {
public:
    TraceWriter();

    // Creates or empties the file; on failure returns false and says why.
    bool open(const std::string& path, std::string& error);
    // Flushes and closes; false (with the reason) if any write failed.
    bool close(std::string& error);
    bool failed() const;

    LogSink* statesSink() { return &states; }
    LogSink* tapeSink() { return &tape; }

private:
    class StatesSink : public LogSink {
    public:
        int appendLogLine(const std::string& text) override;
        void setLineMarker(int, int) override {}
        std::string pending;
        int lineCount = 0;
    };
    class TapeSink : public LogSink {
    public:
        explicit TapeSink(TraceWriter& writer) : writer(writer) {}
        int appendLogLine(const std::string& text) override;
        void setLineMarker(int, int) override {}

    private:
        TraceWriter& writer;
        int lineCount = 0;
    };

    void writePair(const std::string& tapeLine);

    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file;
    int writeError = 0;
    std::string line;  // reused, so that writing a line allocates nothing
    StatesSink states;
    TapeSink tape;
};

#endif
