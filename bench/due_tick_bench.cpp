#include <benchmark/benchmark.h>
#include <win32_test.h>
#include <windows.h>

#include <string>

#include "ui/app_shell.h"
#include "ui/document_window.h"
#include "ui/log_list.h"
#include "ui/workbench.h"

namespace {

// A document running a machine that walks right for ever, its Tape page shown,
// its states and tape logs already holding `lines` lines.
class RunningDocument {
public:
    explicit RunningDocument(int lines) {
        if (!win32test::isEnabled()) {
            win32test::enable();
        }
        initApplication(GetModuleHandleA(nullptr));
        HWND frame = GetParent(mdiClient);
        win32test::chooseMenuCommand(frame, CMD_NEW);
        win32test::chooseMenuCommand(frame, CMD_SPEED_125MS);
        document = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
        data = documentData(document);
        SetWindowTextA(data->editor,
                       "tape(1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,^,R)");
        SendMessageA(document, CMD_RUN, 0, 0);
        const std::string line(60, '^');
        for (int i = 0; i < lines; ++i) {
            appendLogLine(data->statesLog, "(a,^,a,^,R)");
            appendLogLine(data->tapeLog, line.c_str());
        }
        win32test::clickTab(data->bottomTabs, 2);
        win32test::processPendingMessages();
    }
    ~RunningDocument() { win32test::reset(); }

    HWND document = nullptr;
    DocumentData* data = nullptr;
};

// One due tick at "125ms" (every second tick): the machine's step, its two
// log lines, and the repaint of the shown tape log. It must not grow with the logs.
void dueTick(benchmark::State& state) {
    RunningDocument running(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SendMessageA(running.document, WM_TIMER, 1000, 0);
        SendMessageA(running.document, WM_TIMER, 1000, 0);
        win32test::paint(running.data->tapeLog);
    }
    state.counters["lines"] =
        static_cast<double>(SendMessageA(running.data->tapeLog, LB_GETCOUNT, 0, 0));
}

}  // namespace

BENCHMARK(dueTick)->Arg(10)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
