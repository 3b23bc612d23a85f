// The test mode's clock and queue: switching it on, resetting between tests,
// the virtual clock and the messages a test lets run.
#include <QApplication>
#include <QPointingDevice>
#include <cstdlib>

#include "test_mode/test_mode.h"
#include "windows/clock.h"
#include "windows/message_queue.h"
#include "windows/timers.h"
#include "windows/window.h"

using namespace platform;

namespace win32test {

void enable() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "win32-test";
        static char* argv[] = {name, nullptr};
        static QApplication* application = new QApplication(argc, argv);
        // The input devices that test input uses live in globals of Qt's own;
        // made now, they outlive the application deleted at exit.
        QPointingDevice::primaryPointingDevice();
        QInputDevice::primaryKeyboard();
        std::atexit([] { delete application; });
    }
    setTestMode(true);
}

void reset() {
    for (HWND handle : allWindows()) {
        if (const Window* window = findWindow(handle); window && !window->parent) {
            DestroyWindow(handle);
        }
    }
    for (HWND handle : allWindows()) {
        DestroyWindow(handle);
    }
    unregisterApplicationClasses();
    resetQueue();
    resetTimers();
    dispatchPendingMessages();
    resetQueue();
    focusedWindow() = nullptr;
    clearTestRecords();
}

void advanceClock(unsigned milliseconds) {
    advanceVirtualClock(milliseconds);
}

unsigned long long clockNow() {
    return virtualClockNow();
}

void processPendingMessages() {
    dispatchPendingMessages();
}

bool quitPosted() {
    return quitWasPosted();
}

int quitCode() {
    return postedQuitCode();
}

}  // namespace win32test
