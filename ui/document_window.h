// The MDI child window that holds one machine description.
#ifndef ZARN_UI_DOCUMENT_WINDOW_H
#define ZARN_UI_DOCUMENT_WINDOW_H

#include <windows.h>

LRESULT CALLBACK documentWindowProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam);

#endif
