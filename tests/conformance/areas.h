// The areas of Win32 that the checks cover, each run in turn by WinMain on a
// visible top-level window `top` (except those that make their own).
#ifndef ZARN_CONFORMANCE_AREAS_H
#define ZARN_CONFORMANCE_AREAS_H

#include <windows.h>

namespace conformance {

void checkWindows(HWND top);
void checkMdi();
void checkMenus();
void checkTabControl(HWND top);
void checkEdit(HWND top);
void checkListBox(HWND top);
void checkFixedFont(HWND top);
void checkDrawing(HWND top);
void checkMessageLoop(HWND top);
void checkTimers(HWND top);
void checkAboutBox(HWND top);
void checkFiles();
void checkSystemMessages();
void checkFileDialogs(HWND top);

}  // namespace conformance

#endif
