// Common controls need no set-up here: "SysTabControl32" is registered with
// the other predefined classes on first use.
#include <commctrl.h>
#include <windows.h>

void WINAPI InitCommonControls(void) {}
