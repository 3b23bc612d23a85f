// The MDI child window that holds one machine description: the editor above,
// the Parser, States and Tape logs below, and the machine that runs it.
#ifndef ZARN_UI_DOCUMENT_WINDOW_H
#define ZARN_UI_DOCUMENT_WINDOW_H

#include <windows.h>

#include "ui/document_data.h"

HWND createTabControl(HWND parent, const RECT& area, int id);
int insertTab(HWND tabControl, const char* label, int index);
HWND createEditor(HWND parent, const RECT& area);
void showEditorPage(const DocumentData& data, int index);
void showLogPage(const DocumentData& data, int index);

LRESULT CALLBACK documentWindowProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam);

#endif
