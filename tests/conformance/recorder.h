// Windows whose procedures record every message they receive, so that checks
// can compare the order of what Win32 sends; and a way to let time pass while
// messages are dispatched.
#ifndef ZARN_CONFORMANCE_RECORDER_H
#define ZARN_CONFORMANCE_RECORDER_H

#include <windows.h>

#include <functional>
#include <vector>

namespace conformance {

struct Received {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// "RECORDER" (DefWindowProcA), "RECFRAME" (DefFrameProcA with `recordedClient`)
// with the program's menu as class menu, and "RECCHILD" (DefMDIChildProcA): each message is
// recorded, then answered by `answer` if it returns true, else by the class's default procedure.
extern std::vector<Received> received;
extern std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> answer;
extern HWND recordedClient;

void registerRecorders();
void unregisterRecorders();
HWND createRecorder(HWND parent, DWORD style, int x, int y, int width, int height,
                    const char* title = "");

// The messages `window` received, in order, leaving out those not in `among`:
// a real system sends more than the stand-in and the checks compare what both send.
std::vector<UINT> messagesOf(HWND window, const std::vector<UINT>& among);
int countOf(HWND window, UINT message);

// Dispatches what is waiting, or for `milliseconds`, without blocking on an empty queue.
void dispatchWaiting();
void dispatchFor(DWORD milliseconds);

}  // namespace conformance

#endif
