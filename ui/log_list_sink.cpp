#include "ui/log_list_sink.h"

#include <utility>

#include "ui/log_list.h"

int LogListSink::appendLogLine(const std::string& text) {
    const int index = ::appendLogLine(list, text.c_str());
    refused = refused || index < 0;
    return index;
}

void LogListSink::setLineMarker(int index, int column) {
    if (index >= 0) {
        SendMessageA(list, LB_SETITEMDATA, index, column);
    }
}

bool LogListSink::takeRefusal() {
    return std::exchange(refused, false);
}
