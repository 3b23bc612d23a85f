#include "ui/log_list_sink.h"

#include "ui/log_list.h"

int LogListSink::appendLogLine(const std::string& text) {
    return ::appendLogLine(list, text.c_str());
}

void LogListSink::setLineMarker(int index, int column) {
    SendMessageA(list, LB_SETITEMDATA, index, column);
}
