// The record that every document window carries, and the editor text that
// the file and run commands read from it.
#ifndef ZARN_UI_DOCUMENT_DATA_H
#define ZARN_UI_DOCUMENT_DATA_H

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/log_list_sink.h"

class MachineRunner;

constexpr int filePathSize = 300;

// The record of one document window, hung on its GWLP_USERDATA slot.
struct DocumentData {
    HWND topTabs;
    HWND editor;
    // A second page of the upper tabs that is never created; kept null.
    HWND secondPage;
    HWND bottomTabs;
    HWND logHost;
    HWND parserLog;
    HWND statesLog;
    HWND tapeLog;
    std::int32_t hasFileName;
    char filePath[filePathSize];
    std::int32_t ticks;
    // Owned; a document that cannot have one is not created.
    MachineRunner* runner;
    std::uint8_t stepping;
    // The runner writes into the three lists through these.
    LogListSink parserSink{nullptr};
    LogListSink statesSink{nullptr};
    LogListSink tapeSink{nullptr};
};

// The record of a document window, or null before WM_CREATE and after WM_DESTROY.
DocumentData* documentData(HWND document);

// The editor's whole text, without its closing NUL.
std::string editorText(HWND editor);

#endif
