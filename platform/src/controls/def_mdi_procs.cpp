// The default procedures of MDI frames and documents: DefFrameProcA and
// DefMDIChildProcA.
#include "controls/mdi_client.h"

using namespace platform;

LRESULT WINAPI DefFrameProcA(HWND frame, HWND clientHandle, UINT message, WPARAM wParam,
                             LPARAM lParam) {
    switch (message) {
        case WM_SETTEXT:
            // While a document is maximised the frame shows both titles; its own
            // is kept to be shown alone again.
            if (MdiClient* client = clientOf(clientHandle); client && client->frameTitle) {
                const char* text = reinterpret_cast<const char*>(lParam);
                client->frameTitle = text ? text : "";
                showMaximizedOnFrame(clientHandle);
                return TRUE;
            }
            return DefWindowProcA(frame, message, wParam, lParam);
        case WM_SIZE:
            if (findWindow(clientHandle)) {
                SetWindowPos(clientHandle, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return 0;
        case WM_COMMAND:
            if (const MdiClient* client = clientOf(clientHandle)) {
                const UINT id = LOWORD(wParam);
                if (id >= client->idFirstChild &&
                    id < client->idFirstChild + client->children.size()) {
                    const HWND document = client->children[id - client->idFirstChild];
                    if (isMinimized(document)) {
                        ShowWindow(document, SW_RESTORE);
                    }
                    SendMessageA(clientHandle, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document),
                                 0);
                    return 0;
                }
            }
            return DefWindowProcA(frame, message, wParam, lParam);
        default:
            return DefWindowProcA(frame, message, wParam, lParam);
    }
}

LRESULT WINAPI DefMDIChildProcA(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* window = findWindow(child);
    if (!window) {
        return 0;
    }
    switch (message) {
        case WM_CLOSE:
            SendMessageA(window->parent, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    sendMessage(child, WM_CLOSE, 0, 0);
                    break;
                case SC_NEXTWINDOW:
                    SendMessageA(window->parent, WM_MDINEXT, reinterpret_cast<WPARAM>(child), 0);
                    break;
                case SC_MAXIMIZE:
                    SendMessageA(window->parent, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child),
                                 0);
                    break;
                case SC_RESTORE:
                    SendMessageA(window->parent, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(child, SW_MINIMIZE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CHILDACTIVATE:
        case WM_MDIACTIVATE:
        case WM_SETFOCUS:
            return 0;
        default:
            return DefWindowProcA(child, message, wParam, lParam);
    }
}
