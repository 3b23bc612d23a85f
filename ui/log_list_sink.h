// Lets the engine write into a log list as into any other log.
#ifndef ZARN_UI_LOG_LIST_SINK_H
#define ZARN_UI_LOG_LIST_SINK_H

#include <windows.h>

#include <string>

#include "engine/log_sink.h"

class LogListSink : public LogSink {
public:
    // The sink uses the list but does not own it.
    explicit LogListSink(HWND list) : list(list) {}

    int appendLogLine(const std::string& text) override;
    // A refused line has no index; Win32 would take -1 for every line.
    void setLineMarker(int index, int column) override;

    // Whether the list has refused a line (it is full) since the last call.
    bool takeRefusal();

private:
    HWND list;
    bool refused = false;
};

#endif
