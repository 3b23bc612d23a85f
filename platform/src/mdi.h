// The MDI client's side of the window tree: what it must hear about its
// document windows.
#ifndef ZARN_PLATFORM_MDI_H
#define ZARN_PLATFORM_MDI_H

#include <windows.h>

#include <QRect>

namespace platform {

bool isMdiClient(HWND window);
// Where a document window created with CW_USEDEFAULT goes.
QRect defaultMdiChildRect(HWND client);
void mdiChildCreated(HWND client, HWND child);
void mdiChildDestroyed(HWND client, HWND child);
void mdiChildTextChanged(HWND client);
// ShowWindow on a document: the show commands that minimise, maximise or
// restore it.
void showMdiChild(HWND client, HWND child, int command);

}  // namespace platform

#endif
