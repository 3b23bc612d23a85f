// Run, Stop and the timer that paces a document's machine.
#ifndef ZARN_UI_RUN_CONTROL_H
#define ZARN_UI_RUN_CONTROL_H

#include <windows.h>

#include "ui/document_data.h"

LRESULT onRun(HWND document, DocumentData& data);
LRESULT onStop(DocumentData& data);
LRESULT onTimer(DocumentData& data);

#endif
