#include <benchmark/benchmark.h>
#include <win32_test.h>
#include <windows.h>

#include <string>

#include "ui/app_shell.h"
#include "ui/log_list.h"
#include "ui/workbench.h"

namespace {

// A document's log list, filled with `lines` tape-like lines.
class FilledLogList {
public:
    explicit FilledLogList(int lines) {
        if (!win32test::isEnabled()) {
            win32test::enable();
        }
        initApplication(GetModuleHandleA(nullptr));
        win32test::chooseMenuCommand(GetParent(mdiClient), CMD_NEW);
        HWND document = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
        HWND host = createLogHost(document, RECT{0, 0, 600, 202});
        list = createLogList(host, win32test::clientRect(host));
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
        for (int i = 0; i < lines; ++i) {
            appendLogLine(list, line.c_str());
        }
        win32test::processPendingMessages();
    }
    ~FilledLogList() { win32test::reset(); }

    HWND list = nullptr;
    const std::string line = "^^" + std::string(58, '1');
};

// One step's worth of work on the tape log: append a line, then let the list
// repaint. The cost must not grow with the lines already in the list.
void appendAndPaint(benchmark::State& state) {
    FilledLogList filled(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        appendLogLine(filled.list, filled.line.c_str());
        win32test::paint(filled.list);
    }
}

}  // namespace

BENCHMARK(appendAndPaint)->Arg(1'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
