#include "ui/run_control.h"

#include <string>

#include "engine/machine_runner.h"
#include "ui/workbench.h"

namespace {

// A full log would lose every later step: the run stops and says so where
// the user looks for the run's messages.
void stopWhenALogIsFull(DocumentData& data) {
    const bool statesFull = data.statesSink.takeRefusal();
    const bool tapeFull = data.tapeSink.takeRefusal();
    if (statesFull || tapeFull) {
        data.stepping = 0;
        data.parserSink.appendLogLine(statesFull ? "Run stopped: the States log is full."
                                                 : "Run stopped: the Tape log is full.");
    }
}

}  // namespace

// A failed parse changes nothing here: a run already going on goes on with the
// machine as the parse left it.
LRESULT onRun(HWND document, DocumentData& data) {
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

// One step at most per due tick: ticks the system did not deliver are not made
// up. The flag is down while the step runs, so that a step that fails stops
// the run instead of failing again at every tick.
LRESULT onTimer(DocumentData& data) {
    ++data.ticks;
    if (data.ticks > speedTicks) {
        data.ticks = 0;
        if (data.stepping) {
            data.stepping = 0;
            data.stepping = data.runner->reportStep() != 0;
            stopWhenALogIsFull(data);
        }
    }
    return 0;
}
