// The conformance checks: the same Win32 calls, built once against Win32 and
// once against our stand-in, must give the same answers.
#include <windows.h>
// The common controls' header expects windows.h before it.
#include <commctrl.h>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/recorder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    conformance::registerRecorders();
    HWND top = conformance::createRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640,
                                           480, "Conformance");
    conformance::checkWindows(top);
    conformance::checkMdi();
    conformance::checkMenus();
    conformance::checkTabControl(top);
    conformance::checkEdit(top);
    conformance::checkListBox(top);
    conformance::checkFixedFont(top);
    conformance::checkDrawing(top);
    conformance::checkMessageLoop(top);
    conformance::checkTimers(top);
    conformance::checkAboutBox(top);
    conformance::checkFiles();
    conformance::checkSystemMessages();
    conformance::checkFileDialogs(top);
    DestroyWindow(top);
    conformance::unregisterRecorders();
    return conformance::printSummary();
}
