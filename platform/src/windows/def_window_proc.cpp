// Default processing of window messages.
#include <QWidget>
#include <algorithm>
#include <cstring>

#include "windows/window.h"

using namespace platform;

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(handle);
    if (!window) {
        return 0;
    }
    switch (message) {
        case WM_NCCREATE:
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(handle);
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    sendMessage(handle, WM_CLOSE, 0, 0);
                    break;
                case SC_MINIMIZE:
                    ShowWindow(handle, SW_MINIMIZE);
                    break;
                case SC_MAXIMIZE:
                    ShowWindow(handle, SW_MAXIMIZE);
                    break;
                case SC_RESTORE:
                    ShowWindow(handle, SW_RESTORE);
                    break;
                default:
                    break;
            }
            return 0;
        case WM_SETTEXT: {
            const char* text = reinterpret_cast<const char*>(lParam);
            setWindowText(*window, text ? text : "");
            if (Window* parent = findWindow(window->parent); parent && parent->control) {
                parent->control->childTextChanged(*parent, handle);
            }
            return TRUE;
        }
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            const auto capacity = static_cast<std::size_t>(wParam);
            if (!buffer || capacity == 0) {
                return 0;
            }
            const std::size_t length = std::min(window->text.size(), capacity - 1);
            std::memcpy(buffer, window->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        case WM_SETFONT:
            // Every control takes its new font here, and nowhere else.
            window->font = reinterpret_cast<HFONT>(wParam);
            if (window->control) {
                window->control->fontChanged(*window);
            }
            if (LOWORD(lParam) && (window = findWindow(handle)) && window->client) {
                window->client->update();
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(window->font);
        default:
            return 0;
    }
}
