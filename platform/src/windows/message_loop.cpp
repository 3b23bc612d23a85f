// The thread's message queue, woven into Qt's event loop: GetMessageA runs the
// Qt loop until a message is posted, so input, painting and timers flow while
// the program waits.
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <deque>

#include "test_mode/test_mode.h"
#include "windows/message_queue.h"

using namespace platform;

namespace {

struct Queue {
    std::deque<MSG> messages;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<QEventLoop*> waitingLoops;
};

Queue& queue() {
    static Queue instance;
    return instance;
}

void wakeWaitingLoops() {
    for (QEventLoop* loop : queue().waitingLoops) {
        loop->quit();
    }
}

bool matches(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    if (window && message.hwnd != window) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) {
        return true;
    }
    return message.message >= filterMin && message.message <= filterMax;
}

bool takeMessage(LPMSG message, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    auto& messages = queue().messages;
    for (auto each = messages.begin(); each != messages.end(); ++each) {
        if (!matches(*each, window, filterMin, filterMax)) {
            continue;
        }
        *message = *each;
        if (remove) {
            messages.erase(each);
        }
        return true;
    }
    return false;
}

void fillQuit(LPMSG message) {
    *message =
        MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue().quitCode), 0, GetTickCount(), {0, 0}};
}

}  // namespace

namespace platform {

void postMessage(const MSG& message) {
    queue().messages.push_back(message);
    wakeWaitingLoops();
}

bool hasPostedMessage(HWND window, UINT message, WPARAM wParam) {
    for (const MSG& each : queue().messages) {
        if (each.hwnd == window && each.message == message && each.wParam == wParam) {
            return true;
        }
    }
    return false;
}

void dropWindowMessages(HWND window) {
    std::erase_if(queue().messages,
                  [window](const MSG& message) { return message.hwnd == window; });
}

void dropTimerMessages(HWND window, UINT_PTR id) {
    std::erase_if(queue().messages, [window, id](const MSG& message) {
        return message.hwnd == window && message.message == WM_TIMER && message.wParam == id;
    });
}

void resetQueue() {
    queue().messages.clear();
    queue().quitPosted = false;
    queue().quitCode = 0;
}

bool quitWasPosted() {
    return queue().quitPosted;
}

int postedQuitCode() {
    return queue().quitCode;
}

}  // namespace platform

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    postMessage(MSG{window, message, wParam, lParam, GetTickCount(), {0, 0}});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    queue().quitPosted = true;
    queue().quitCode = exitCode;
    wakeWaitingLoops();
}

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (!message) {
        return FALSE;
    }
    // As Win32's does, a look at the queue lets due timers and painting in.
    if (!testMode()) {
        QCoreApplication::processEvents();
    }
    if (takeMessage(message, window, filterMin, filterMax, (remove & PM_REMOVE) != 0)) {
        return TRUE;
    }
    if (queue().quitPosted && !window) {
        fillQuit(message);
        if (remove & PM_REMOVE) {
            queue().quitPosted = false;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
    if (!message) {
        return -1;
    }
    for (;;) {
        if (takeMessage(message, window, filterMin, filterMax, true)) {
            return TRUE;
        }
        if (queue().quitPosted) {
            fillQuit(message);
            queue().quitPosted = false;
            return FALSE;
        }
        if (testMode()) {
            QCoreApplication::processEvents();
            if (queue().messages.empty() && !queue().quitPosted) {
                failTest(
                    "GetMessageA would wait for input that a test never gives: post a message or "
                    "PostQuitMessage before running the loop");
            }
            continue;
        }
        QEventLoop loop;
        queue().waitingLoops.push_back(&loop);
        loop.exec();
        queue().waitingLoops.pop_back();
    }
}

BOOL WINAPI TranslateMessage(const MSG*) {
    // Qt's widgets already turn key presses into text.
    return FALSE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (!message) {
        return 0;
    }
    if (message->message == WM_TIMER && message->lParam) {
        const auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        procedure(message->hwnd, WM_TIMER, message->wParam, message->time);
        return 0;
    }
    if (!IsWindow(message->hwnd)) {
        return 0;
    }
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL WINAPI TranslateMDISysAccel(HWND, LPMSG) {
    // Ctrl+F4 and Ctrl+F6 are caught from Qt's input: DocumentInput in mdi_document_input.cpp.
    return FALSE;
}

namespace platform {

void dispatchPendingMessages() {
    // Each round lets Qt run what it has queued (painting, deferred deletions)
    // and then dispatches what the windows posted; a round with no message ends it.
    for (;;) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        MSG message;
        bool dispatched = false;
        while (takeMessage(&message, nullptr, 0, 0, true)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
            dispatched = true;
        }
        if (!dispatched) {
            return;
        }
    }
}

void runModalLoop(const std::function<bool()>& done) {
    while (!done()) {
        MSG message;
        if (!GetMessageA(&message, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void runQtDialog(QDialog& dialog) {
    bool finished = false;
    QObject::connect(&dialog, &QDialog::finished, [&finished] {
        finished = true;
        PostMessageA(nullptr, WM_NULL, 0, 0);
    });
    dialog.open();
    runModalLoop([&finished] { return finished; });
}

}  // namespace platform
