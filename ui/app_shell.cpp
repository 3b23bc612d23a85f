#include "ui/app_shell.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "ui/command_line_arguments.h"
#include "ui/document_window.h"
#include "ui/failure_boundary.h"
#include "ui/log_list.h"
#include "ui/workbench.h"

HINSTANCE appInstance;
HWND mdiClient;
HFONT fixedFont;
int speedTicks;

namespace {

const char* const frameClass = "TMWINDOW";
const char* const documentClass = "TMCHILD";
const char* const frameTitle = "ZARN Turing Machine";
const char* const untitled = "Untitled";
constexpr int mdiClientId = 3244;
constexpr UINT firstDocumentMenuId = 100;
constexpr int windowMenuIndex = 3;
constexpr int startTicks = 4;

struct SpeedItem {
    UINT command;
    int ticks;
};

constexpr std::array<SpeedItem, 6> speedItems{{
    {CMD_SPEED_125MS, 1},
    {CMD_SPEED_250MS, 2},
    {CMD_SPEED_500MS, 4},
    {CMD_SPEED_1S, 8},
    {CMD_SPEED_2S, 16},
    {CMD_SPEED_3S, 24},
}};

HWND activeDocument() {
    return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
}

// With no document open the command has nowhere to go and does nothing.
void sendToActiveDocument(UINT message) {
    if (HWND document = activeDocument()) {
        SendMessageA(document, message, 0, 0);
    }
}

void closeActiveDocument() {
    if (HWND document = activeDocument()) {
        SendMessageA(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
    }
}

HWND createDocument() {
    return CreateWindowExA(WS_EX_MDICHILD, documentClass, untitled,
                           WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr, appInstance, nullptr);
}

// Without a path the document asks for the file itself; either way it closes
// again when the file cannot be opened.
void openDocument(const char* path) {
    SendMessageA(createDocument(), TMM_OPEN, 0, reinterpret_cast<LPARAM>(path));
}

void setSpeed(HWND frame, int ticks) {
    speedTicks = ticks;
    checkSpeedMenu(GetMenu(frame), ticks);
}

void showAboutBox(HWND frame) {
    DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_ABOUT), frame, aboutDialogProc, 0);
}

LRESULT onCreate(HWND frame) {
    // Fixed pitch, because the log lists place the head's box by character column.
    fixedFont =
        CreateFontA(0, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_ROMAN, nullptr);
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = GetSubMenu(GetMenu(frame), windowMenuIndex);
    client.idFirstChild = firstDocumentMenuId;
    mdiClient = CreateWindowExA(0, "MDICLIENT", nullptr,
                                WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                frame, reinterpret_cast<HMENU>(mdiClientId), appInstance, &client);
    ShowWindow(mdiClient, SW_SHOW);
    setSpeed(frame, startTicks);
    return 0;
}

LRESULT onDestroy() {
    DeleteObject(fixedFont);
    PostQuitMessage(0);
    return 0;
}

// Answers whether the command is one of the frame's; the others (the document
// list of the Window menu among them) go to the default frame procedure.
bool onCommand(HWND frame, UINT command) {
    for (const SpeedItem& item : speedItems) {
        if (command == item.command) {
            setSpeed(frame, item.ticks);
            return true;
        }
    }
    switch (command) {
        case CMD_NEW:
            createDocument();
            return true;
        case CMD_OPEN:
            openDocument(nullptr);
            return true;
        case CMD_SAVE:
            sendToActiveDocument(TMM_SAVE);
            return true;
        case CMD_SAVE_AS:
            sendToActiveDocument(TMM_SAVEAS);
            return true;
        case CMD_CLOSE:
            closeActiveDocument();
            return true;
        case CMD_EXIT:
            DestroyWindow(frame);
            return true;
        case CMD_UNDO:
            sendToActiveDocument(EM_UNDO);
            return true;
        case CMD_CUT:
            sendToActiveDocument(WM_CUT);
            return true;
        case CMD_COPY:
            sendToActiveDocument(WM_COPY);
            return true;
        case CMD_PASTE:
            sendToActiveDocument(WM_PASTE);
            return true;
        case CMD_DELETE:
            sendToActiveDocument(WM_CLEAR);
            return true;
        // Run, Stop and Save output reach the document as messages numbered like the command.
        case CMD_RUN:
        case CMD_STOP:
        case CMD_SAVE_OUTPUT:
            sendToActiveDocument(command);
            return true;
        case CMD_TILE_HORZ:
            SendMessageA(mdiClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
            return true;
        case CMD_TILE_VERT:
            SendMessageA(mdiClient, WM_MDITILE, MDITILE_VERTICAL, 0);
            return true;
        case CMD_CASCADE:
            SendMessageA(mdiClient, WM_MDICASCADE, 0, 0);
            return true;
        case CMD_ABOUT:
            showAboutBox(frame);
            return true;
    }
    return false;
}

ATOM registerFrameClass() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = frameWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_APPICON));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = frameClass;
    return RegisterClassA(&windowClass);
}

// The class keeps the white brush for the rest of the process.
ATOM registerDocumentClass() {
    LOGBRUSH white{};
    white.lbStyle = BS_SOLID;
    white.lbColor = RGB(255, 255, 255);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = documentWindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_APPICON));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = CreateBrushIndirect(&white);
    windowClass.lpszClassName = documentClass;
    return RegisterClassA(&windowClass);
}

}  // namespace

void initApplication(HINSTANCE instance) {
    appInstance = instance;
    InitCommonControls();
    registerLogHostClass();
    registerFrameClass();
    registerDocumentClass();
    CreateWindowExA(WS_EX_APPWINDOW, frameClass, frameTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                    appInstance, nullptr);
}

// Runs before the message loop, outside any window procedure: the same
// boundary keeps a failure here from ending the program.
void openCommandLineFiles(LPCSTR commandLine) {
    withinBoundary(nullptr, TMM_OPEN, 0, 0, [&] {
        for (const std::string& path : commandLineArguments(commandLine)) {
            openDocument(path.c_str());
        }
        return 0;
    });
}

void unregisterClasses(HINSTANCE instance) {
    unregisterLogHostClass();
    UnregisterClassA(frameClass, instance);
    UnregisterClassA(documentClass, instance);
}

void checkSpeedMenu(HMENU menu, int ticks) {
    for (const SpeedItem& item : speedItems) {
        CheckMenuItem(menu, item.command,
                      MF_BYCOMMAND | (item.ticks == ticks ? MF_CHECKED : MF_UNCHECKED));
    }
}

LRESULT CALLBACK frameWindowProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
    return withinBoundary(frame, message, wParam, LRESULT{0}, [&] {
        switch (message) {
            case WM_CREATE:
                return onCreate(frame);
            case WM_DESTROY:
                return onDestroy();
            case WM_COMMAND:
                if (onCommand(frame, LOWORD(wParam))) {
                    return LRESULT{0};
                }
                break;
        }
        return DefFrameProcA(frame, mdiClient, message, wParam, lParam);
    });
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return withinBoundary(dialog, message, wParam, INT_PTR{FALSE}, [&]() -> INT_PTR {
        switch (message) {
            case WM_INITDIALOG:
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                    EndDialog(dialog, LOWORD(wParam));
                }
                return TRUE;
        }
        return FALSE;
    });
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    initApplication(instance);
    openCommandLineFiles(commandLine);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0)) {
        if (!TranslateMDISysAccel(mdiClient, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    unregisterClasses(instance);
    return static_cast<int>(message.wParam);
}
