// Window state: visibility, geometry, text, window longs, relations, focus.
#include <strings.h>

#include <QWidget>
#include <algorithm>
#include <cstring>

#include "windows/window.h"
#include "windows/window_widget.h"

using namespace platform;

namespace {

WINDOWPOS windowPosOf(const Window& window, UINT flags) {
    const QRect rect = windowRectangle(window);
    return WINDOWPOS{window.handle, nullptr,       rect.x(), rect.y(),
                     rect.width(),  rect.height(), flags};
}

void sendWindowPosChanged(HWND handle, UINT flags) {
    const Window* window = findWindow(handle);
    if (!window) {
        return;
    }
    WINDOWPOS position = windowPosOf(*window, flags);
    sendMessage(handle, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&position));
}

}  // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR) {
    return moduleInstance();
}

BOOL WINAPI ShowWindow(HWND handle, int command) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    const bool wasVisible = (window->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show != wasVisible) {
        sendMessage(handle, WM_SHOWWINDOW, show, 0);
        window = findWindow(handle);
        if (!window) {
            return wasVisible;
        }
        if (show) {
            window->style |= WS_VISIBLE;
        } else {
            window->style &= ~WS_VISIBLE;
        }
        window->widget->setVisible(show);
        sendWindowPosChanged(handle, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER |
                                         (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        window = findWindow(handle);
    }
    if (Window* parent = show && window ? managingParent(*window) : nullptr) {
        parent->control->childShown(*parent, handle, command);
    }
    return wasVisible;
}

BOOL WINAPI IsIconic(HWND handle) {
    const Window* window = findWindow(handle);
    return window && (window->style & WS_MINIMIZE);
}

BOOL WINAPI IsZoomed(HWND handle) {
    const Window* window = findWindow(handle);
    return window && (window->style & WS_MAXIMIZE);
}

BOOL WINAPI UpdateWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    if (window->widget->isVisible()) {
        window->widget->repaint();
    }
    return TRUE;
}

BOOL WINAPI IsWindowVisible(HWND handle) {
    for (const Window* window = findWindow(handle); window; window = findWindow(window->parent)) {
        if (!(window->style & WS_VISIBLE)) {
            return FALSE;
        }
        if (!window->isChild()) {
            return TRUE;
        }
    }
    return FALSE;
}

namespace platform {

void enableWindow(HWND handle, bool enable) {
    Window* window = findWindow(handle);
    if (!window) {
        return;
    }
    const bool wasDisabled = (window->style & WS_DISABLED) != 0;
    if (enable) {
        window->style &= ~WS_DISABLED;
    } else {
        window->style |= WS_DISABLED;
    }
    window->widget->setEnabled(enable);
    if (wasDisabled == enable) {
        sendMessage(handle, WM_ENABLE, enable, 0);
    }
}

}  // namespace platform

BOOL WINAPI IsWindowEnabled(HWND handle) {
    const Window* window = findWindow(handle);
    return window && !(window->style & WS_DISABLED);
}

BOOL WINAPI SetWindowPos(HWND handle, HWND, int x, int y, int width, int height, UINT flags) {
    Window* window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const QSize size(std::max(0, width), std::max(0, height));
    if (window->isChild()) {
        QRect rect = window->widget->geometry();
        if (!(flags & SWP_NOMOVE)) {
            rect.moveTo(x, y);
        }
        if (!(flags & SWP_NOSIZE)) {
            rect.setSize(size);
        }
        window->widget->setGeometry(rect);
    } else {
        // The desktop draws the frame of a top-level window: the size given is
        // the stand-in's own, menu bar and client area.
        if (!(flags & SWP_NOMOVE)) {
            window->widget->move(x, y);
        }
        if (!(flags & SWP_NOSIZE)) {
            window->widget->resize(size);
        }
    }
    layoutWindow(*window);
    if (!(flags & SWP_NOZORDER) && window->isChild()) {
        window->widget->raise();
    }
    if (flags & SWP_SHOWWINDOW) {
        ShowWindow(handle, SW_SHOWNA);
    }
    if (flags & SWP_HIDEWINDOW) {
        ShowWindow(handle, SW_HIDE);
    }
    sendWindowPosChanged(handle, flags);
    reportGeometry(handle);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND handle, LPRECT rect) {
    const Window* window = findWindow(handle);
    if (!window || !rect) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const QSize size = clientSize(*window);
    *rect = RECT{0, 0, size.width(), size.height()};
    return TRUE;
}

BOOL WINAPI GetWindowRect(HWND handle, LPRECT rect) {
    const Window* window = findWindow(handle);
    if (!window || !rect) {
        return FALSE;
    }
    QRect outer = windowRectangle(*window);
    if (window->isChild()) {
        outer.moveTo(window->widget->mapToGlobal(QPoint(0, 0)));
    }
    *rect =
        RECT{outer.left(), outer.top(), outer.left() + outer.width(), outer.top() + outer.height()};
    return TRUE;
}

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (!findWindow(handle)) {
        return FALSE;
    }
    return sendMessage(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) {
        return 0;
    }
    buffer[0] = '\0';
    if (!findWindow(handle)) {
        return 0;
    }
    return static_cast<int>(
        sendMessage(handle, WM_GETTEXT, capacity, reinterpret_cast<LPARAM>(buffer)));
}

int WINAPI GetWindowTextLengthA(HWND handle) {
    return static_cast<int>(sendMessage(handle, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL) {
    if (!handle) {
        for (HWND each : allWindows()) {
            InvalidateRect(each, nullptr, FALSE);
        }
        return TRUE;
    }
    const Window* window = findWindow(handle);
    if (!window) {
        return FALSE;
    }
    if (rect) {
        window->client->update(
            QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1)));
    } else {
        window->client->update();
    }
    return TRUE;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
    const Window* window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWLP_USERDATA:
            return window->userData;
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->procedure);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(window->parent);
        case GWLP_ID:
            return window->id;
        case GWL_STYLE:
            return static_cast<LONG_PTR>(window->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(window->exStyle);
        default:
            return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const LONG_PTR previous = GetWindowLongPtrA(handle, index);
    switch (index) {
        case GWLP_USERDATA:
            window->userData = value;
            break;
        case GWLP_WNDPROC:
            window->procedure = reinterpret_cast<WNDPROC>(value);
            break;
        case GWLP_ID:
            window->id = value;
            break;
        case GWL_STYLE:
            window->style = static_cast<DWORD>(value);
            break;
        case GWL_EXSTYLE:
            window->exStyle = static_cast<DWORD>(value);
            break;
        default:
            return 0;
    }
    return previous;
}

LONG WINAPI GetWindowLongA(HWND handle, int index) {
    return static_cast<LONG>(GetWindowLongPtrA(handle, index));
}

LONG WINAPI SetWindowLongA(HWND handle, int index, LONG value) {
    return static_cast<LONG>(SetWindowLongPtrA(handle, index, value));
}

HWND WINAPI GetParent(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? window->parent : nullptr;
}

// Siblings in creation order, which for a dialog is the template's order.
HWND WINAPI GetWindow(HWND handle, UINT relation) {
    const Window* window = findWindow(handle);
    if (!window) {
        return nullptr;
    }
    if (relation == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front();
    }
    if (relation == GW_OWNER) {
        return window->isChild() ? nullptr : window->parent;
    }
    const Window* parent = findWindow(window->parent);
    if (!parent || !window->isChild()) {
        return nullptr;
    }
    const std::vector<HWND>& siblings = parent->children;
    const auto self = std::find(siblings.begin(), siblings.end(), handle);
    switch (relation) {
        case GW_HWNDFIRST:
            return siblings.front();
        case GW_HWNDLAST:
            return siblings.back();
        case GW_HWNDNEXT:
            return self + 1 < siblings.end() ? *(self + 1) : nullptr;
        case GW_HWNDPREV:
            return self > siblings.begin() ? *(self - 1) : nullptr;
        default:
            return nullptr;
    }
}

HWND WINAPI FindWindowA(LPCSTR className, LPCSTR windowName) {
    for (HWND handle : allWindows()) {
        const Window* window = findWindow(handle);
        if (window->isChild() || window->destroying) {
            continue;
        }
        if (className && strcasecmp(window->windowClass->name.c_str(), className) != 0) {
            continue;
        }
        if (windowName && window->text != windowName) {
            continue;
        }
        return handle;
    }
    return nullptr;
}

int WINAPI GetClassNameA(HWND handle, LPSTR buffer, int capacity) {
    const Window* window = findWindow(handle);
    if (!window || !buffer || capacity <= 0) {
        return 0;
    }
    const std::string& name = window->windowClass->name;
    const int length = std::min(static_cast<int>(name.size()), capacity - 1);
    name.copy(buffer, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    const Window* window = findWindow(dialog);
    if (!window) {
        return nullptr;
    }
    for (HWND child : window->children) {
        const Window* control = findWindow(child);
        if (control && static_cast<int>(control->id) == id) {
            return child;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND handle) {
    const Window* window = findWindow(handle);
    return window && window->isChild() ? static_cast<int>(window->id) : 0;
}

HWND WINAPI SetFocus(HWND handle) {
    const HWND previous = focusedWindow();
    Window* window = findWindow(handle);
    if (handle && !window) {
        return nullptr;
    }
    if (previous == handle) {
        return previous;
    }
    if (previous) {
        sendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
    }
    focusedWindow() = handle;
    window = findWindow(handle);
    if (!window) {
        return previous;
    }
    QWidget* target = window->client->focusProxy() ? window->client->focusProxy() : window->client;
    // Keys go to the focused window even when it ignores them, never to the menu bar.
    target->setFocus(Qt::OtherFocusReason);
    sendMessage(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus(void) {
    return findWindow(focusedWindow()) ? focusedWindow() : nullptr;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!findWindow(handle)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return sendMessage(handle, message, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC procedure, HWND handle, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return procedure ? procedure(handle, message, wParam, lParam) : 0;
}
