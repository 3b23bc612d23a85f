// Values that the whole front end shares, and the messages between its windows.
#ifndef ZARN_UI_WORKBENCH_H
#define ZARN_UI_WORKBENCH_H

#include <windows.h>

#include "res/resource.h"

// Written while the frame is created and read by every document; the program
// has one thread, so none of them needs a lock.
extern HINSTANCE appInstance;
extern HWND mdiClient;
extern HFONT fixedFont;
// Timer ticks a running machine waits between two steps; set by the Speed menu.
extern int speedTicks;

// File messages that the frame sends to a document window.
constexpr UINT TMM_OPEN = WM_APP + 200;
constexpr UINT TMM_LOAD = WM_APP + 201;
constexpr UINT TMM_SAVEAS = WM_APP + 202;
constexpr UINT TMM_SAVE = WM_APP + 203;

#endif
