// The thread's message queue.
#ifndef ZARN_PLATFORM_MESSAGE_QUEUE_H
#define ZARN_PLATFORM_MESSAGE_QUEUE_H

#include <windows.h>

#include <functional>

class QDialog;

namespace platform {

void postMessage(const MSG& message);
bool hasPostedMessage(HWND window, UINT message, WPARAM wParam);
void dropWindowMessages(HWND window);
void dropTimerMessages(HWND window, UINT_PTR id);
void resetQueue();
bool quitWasPosted();
int postedQuitCode();
// Runs pending Qt events and posted messages until none is left, never waiting.
void dispatchPendingMessages();
// The message loop of a modal window: runs until `done` says so, or until
// WM_QUIT, which it posts again for the outer loop.
void runModalLoop(const std::function<bool()>& done);
// Opens a Qt dialog and runs the modal loop until the user closes it, so that
// timers and posted messages go on behind it.
void runQtDialog(QDialog& dialog);

}  // namespace platform

#endif
