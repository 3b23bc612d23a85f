// Default processing of window messages.
#include <algorithm>
#include <cstring>

#include "mdi.h"
#include "window.h"

using namespace platform;

LRESULT WINAPI DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(handle);
    if (!window)
        return 0;
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
            if (isMdiClient(window->parent))
                mdiChildTextChanged(window->parent);
            return TRUE;
        }
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            const auto capacity = static_cast<std::size_t>(wParam);
            if (!buffer || capacity == 0)
                return 0;
            const std::size_t length = std::min(window->text.size(), capacity - 1);
            std::memcpy(buffer, window->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(window->text.size());
        case WM_SETFONT:
            window->font = reinterpret_cast<HFONT>(wParam);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(window->font);
        case WM_ERASEBKGND:
            return TRUE;
        default:
            return 0;
    }
}
