// Log lists: owner-drawn list boxes, one text line per item, whose item data is
// the line's marker column; their host window draws the lines.
#ifndef ZARN_UI_LOG_LIST_H
#define ZARN_UI_LOG_LIST_H

#include <windows.h>

#include <string>

ATOM registerLogHostClass();
BOOL unregisterLogHostClass();

HWND createLogHost(HWND parent, const RECT& area);
HWND createLogList(HWND host, const RECT& area);

// Appends a line without a marker, selects it and scrolls it into view.
// Returns its index, or the list box's negative error when it refused the line.
int appendLogLine(HWND list, const char* text);
// The text of a line, empty for a line that is not there.
std::string lineText(HWND list, UINT index);

LRESULT CALLBACK logHostProc(HWND host, UINT message, WPARAM wParam, LPARAM lParam);

#endif
