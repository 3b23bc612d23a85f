#include "ui/document_window.h"

#include <commctrl.h>

#include "engine/machine_runner.h"
#include "ui/document_files.h"
#include "ui/failure_boundary.h"
#include "ui/log_list.h"
#include "ui/run_control.h"
#include "ui/workbench.h"

namespace {

constexpr int topTabsId = 1000;
constexpr int bottomTabsId = 1001;
constexpr int logAreaHeight = 100;
// The row of tabs that the controls do not have yet when they are created.
constexpr int tabRowHeight = 23;
constexpr UINT stepTimerId = 1000;
constexpr UINT stepTimerPeriod = 125;
constexpr DWORD tabControlStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD editorStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_WANTRETURN;

struct LogPage {
    const char* label;
    HWND DocumentData::*list;
    LogListSink DocumentData::*sink;
};

constexpr LogPage logPages[] = {
    {"Parser", &DocumentData::parserLog, &DocumentData::parserSink},
    {"States", &DocumentData::statesLog, &DocumentData::statesSink},
    {"Tape", &DocumentData::tapeLog, &DocumentData::tapeSink},
};

RECT clientRect(HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

// The display area of a tab control, in its own client coordinates.
RECT displayArea(HWND tabControl) {
    RECT rect = clientRect(tabControl);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void place(HWND window, const RECT& rect) {
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER);
}

void show(HWND window, bool shown) {
    if (window != nullptr) {
        ShowWindow(window, shown ? SW_SHOW : SW_HIDE);
    }
}

LRESULT onCreate(HWND document) {
    const RECT client = clientRect(document);
    auto* data = new DocumentData{};
    SetWindowLongPtrA(document, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));

    const RECT top{client.left, client.top, client.right, client.bottom - logAreaHeight};
    data->topTabs = createTabControl(document, top, topTabsId);
    RECT editorArea = displayArea(data->topTabs);
    editorArea.top += tabRowHeight;
    insertTab(data->topTabs, "Editor", 0);
    data->editor = createEditor(data->topTabs, editorArea);
    SendMessageA(data->editor, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);

    const RECT bottom{client.left, top.bottom, client.right, client.bottom};
    data->bottomTabs = createTabControl(document, bottom, bottomTabsId);
    RECT hostArea = displayArea(data->bottomTabs);
    hostArea.top += tabRowHeight;
    data->logHost = createLogHost(data->bottomTabs, hostArea);
    const RECT listArea = clientRect(data->logHost);
    int index = 0;
    for (const LogPage& page : logPages) {
        insertTab(data->bottomTabs, page.label, index++);
        HWND list = createLogList(data->logHost, listArea);
        SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
        data->*page.list = list;
        data->*page.sink = LogListSink(list);
    }
    showEditorPage(*data, 0);
    showLogPage(*data, 0);

    data->runner = new MachineRunner(&data->parserSink, &data->statesSink, &data->tapeSink);
    SetTimer(document, stepTimerId, stepTimerPeriod, nullptr);
    return 0;
}

LRESULT onSize(HWND document, DocumentData& data, WPARAM wParam, LPARAM lParam) {
    const int width = LOWORD(lParam);
    const int height = HIWORD(lParam);
    SetWindowPos(data.topTabs, nullptr, 0, 0, width, height - logAreaHeight, SWP_NOZORDER);
    const RECT editorArea = displayArea(data.topTabs);
    place(data.editor, editorArea);
    if (data.secondPage != nullptr) {
        place(data.secondPage, editorArea);
    }
    SetWindowPos(data.bottomTabs, nullptr, 0, height - logAreaHeight, width, logAreaHeight,
                 SWP_NOZORDER);
    place(data.logHost, displayArea(data.bottomTabs));
    const RECT listArea = clientRect(data.logHost);
    for (const LogPage& page : logPages) {
        place(data.*page.list, listArea);
    }
    return DefMDIChildProcA(document, WM_SIZE, wParam, lParam);
}

LRESULT onNotify(const DocumentData& data, const NMHDR& header) {
    if (header.code != TCN_SELCHANGE) {
        return 0;
    }
    const auto selected = [&] {
        return static_cast<int>(SendMessageA(header.hwndFrom, TCM_GETCURSEL, 0, 0));
    };
    if (header.idFrom == topTabsId) {
        showEditorPage(data, selected());
    } else if (header.idFrom == bottomTabsId) {
        showLogPage(data, selected());
    }
    return 0;
}

// The Edit menu acts on the editor; its answer does not reach the frame.
LRESULT forwardToEditor(const DocumentData& data, UINT message, WPARAM wParam, LPARAM lParam) {
    SendMessageA(data.editor, message, wParam, lParam);
    return 0;
}

// The timer goes first, so that no step runs once the machine is gone; the
// tab controls take the editor, the host and the lists with them.
LRESULT onDestroy(HWND document, DocumentData* data) {
    KillTimer(document, stepTimerId);
    delete data->runner;
    for (HWND window : {data->topTabs, data->editor, data->secondPage, data->bottomTabs,
                        data->parserLog, data->statesLog, data->tapeLog}) {
        DestroyWindow(window);
    }
    SetWindowLongPtrA(document, GWLP_USERDATA, 0);
    delete data;
    return 0;
}

const char* pathArgument(LPARAM lParam) {
    return reinterpret_cast<const char*>(lParam);
}

}  // namespace

HWND createTabControl(HWND parent, const RECT& area, int id) {
    return CreateWindowExA(0, WC_TABCONTROLA, "", tabControlStyle, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), appInstance, nullptr);
}

int insertTab(HWND tabControl, const char* label, int index) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = const_cast<char*>(label);
    item.iImage = -1;
    return static_cast<int>(
        SendMessageA(tabControl, TCM_INSERTITEMA, index, reinterpret_cast<LPARAM>(&item)));
}

HWND createEditor(HWND parent, const RECT& area) {
    return CreateWindowExA(0, "EDIT", nullptr, editorStyle, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, parent, nullptr,
                           appInstance, nullptr);
}

void showEditorPage(const DocumentData& data, int index) {
    show(data.editor, index == 0);
    show(data.secondPage, index == 1);
}

void showLogPage(const DocumentData& data, int index) {
    show(data.parserLog, index == 0);
    show(data.statesLog, index == 1);
    show(data.tapeLog, index == 2);
}

namespace {

LRESULT documentMessage(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        return onCreate(document);
    }
    DocumentData* data = documentData(document);
    if (data == nullptr) {
        return DefMDIChildProcA(document, message, wParam, lParam);
    }
    switch (message) {
        case WM_DESTROY:
            return onDestroy(document, data);
        case WM_SIZE:
            return onSize(document, *data, wParam, lParam);
        case WM_NOTIFY:
            return onNotify(*data, *reinterpret_cast<const NMHDR*>(lParam));
        case EM_UNDO:
        case WM_CUT:
        case WM_COPY:
        case WM_PASTE:
        case WM_CLEAR:
            return forwardToEditor(*data, message, wParam, lParam);
        case WM_TIMER:
            return onTimer(*data);
        case CMD_RUN:
            return onRun(document, *data);
        case CMD_STOP:
            return onStop(*data);
        case CMD_SAVE_OUTPUT:
            return onSaveOutput(document, *data);
        case TMM_OPEN:
            return onOpen(document, *data, pathArgument(lParam));
        case TMM_LOAD:
            return onLoad(document, *data, pathArgument(lParam));
        case TMM_SAVEAS:
            return onSaveAs(document, *data);
        case TMM_SAVE:
            return onSave(document, *data, pathArgument(lParam));
    }
    return DefMDIChildProcA(document, message, wParam, lParam);
}

}  // namespace

// A document whose window cannot be built is not created at all.
LRESULT CALLBACK documentWindowProc(HWND document, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT failed = message == WM_CREATE ? -1 : 0;
    return withinBoundary(document, message, wParam, failed,
                          [&] { return documentMessage(document, message, wParam, lParam); });
}
