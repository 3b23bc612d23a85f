// The frame window, its menu commands, the About box, and start-up and shut-down.
#ifndef ZARN_UI_APP_SHELL_H
#define ZARN_UI_APP_SHELL_H

#include <windows.h>

// Registers the window classes and creates the frame (which creates the MDI client).
void initApplication(HINSTANCE instance);
void unregisterClasses(HINSTANCE instance);
// Opens each file that the command line names, in order, as File > Open opens
// a chosen file; one that cannot be opened is reported and leaves no document.
void openCommandLineFiles(LPCSTR commandLine);

LRESULT CALLBACK frameWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Checks the Speed item whose pace is `ticks` and unchecks the other five.
void checkSpeedMenu(HMENU menu, int ticks);

#endif
