#include "ui/run_control.h"

#include <string>

#include "engine/machine_runner.h"
#include "ui/workbench.h"

// A failed parse changes nothing here: a run already going on goes on with the
// machine as the parse left it.
LRESULT onRun(HWND document, DocumentData& data) {
    if (data.runner == nullptr) {
        return 0;
    }
    const std::string text = editorText(data.editor);
    if (data.runner->parse(text.c_str())) {
        SendMessageA(data.statesLog, LB_RESETCONTENT, 0, 0);
        SendMessageA(data.tapeLog, LB_RESETCONTENT, 0, 0);
        data.stepping = 1;
        data.ticks = 0;
    } else {
        MessageBoxA(document, "Unable to run\nErrors in turing machine", "Error",
                    MB_OK | MB_ICONERROR);
    }
    return 0;
}

LRESULT onStop(DocumentData& data) {
    data.stepping = 0;
    return 0;
}

// One step at most per due tick: ticks the system did not deliver are not made up.
LRESULT onTimer(DocumentData& data) {
    ++data.ticks;
    if (data.ticks > speedTicks) {
        data.ticks = 0;
        if (data.stepping && data.runner != nullptr && data.runner->reportStep() == 0) {
            data.stepping = 0;
        }
    }
    return 0;
}
