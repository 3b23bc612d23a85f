// Registering classes, creating windows and destroying them.
#include <QWidget>
#include <algorithm>

#include "ansi_text.h"
#include "resources/resources.h"
#include "windows/menus.h"
#include "windows/message_queue.h"
#include "windows/timers.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {
namespace {

constexpr QPoint defaultTopLevelPosition(80, 60);
constexpr QSize defaultTopLevelSize(800, 600);

QRect initialRect(const Window& window, int x, int y, int width, int height) {
    QRect defaults(0, 0, 0, 0);
    if (Window* parent = managingParent(window)) {
        defaults = parent->control->defaultChildRect(*parent);
    } else if (!window.isChild()) {
        defaults = QRect(defaultTopLevelPosition, defaultTopLevelSize);
    }
    const QPoint position = x == CW_USEDEFAULT ? defaults.topLeft() : QPoint(x, y);
    const QSize size =
        width == CW_USEDEFAULT ? defaults.size() : QSize(std::max(0, width), std::max(0, height));
    return QRect(position, size);
}

void buildWidgets(Window& window, Window* parent, HMENU menu) {
    QWidget* qtParent = parent && window.isChild() ? parent->client : nullptr;
    window.widget = new WindowWidget(window.handle, window.style, window.exStyle, qtParent);
    if (!window.isChild()) {
        window.widget->setWindowTitle(fromAnsi(window.text));
        const WindowClass& windowClass = *window.windowClass;
        HMENU barMenu =
            menu ? menu
                 : (windowClass.menuName ? LoadMenuA(windowClass.instance, windowClass.menuName)
                                         : nullptr);
        if (barMenu) {
            attachMenuBar(window, barMenu);
            layoutWindow(window);
        }
        if (windowClass.icon) {
            window.widget->setWindowIcon(iconOf(windowClass.icon));
        }
    }
    if (window.windowClass->createWidget) {
        window.content = new QWidget(window.widget);
        window.windowClass->createWidget(window, window.content);
    } else {
        window.content = window.client = new ClientArea(window.handle, window.widget);
    }
}

void sendDestroyMessages(HWND handle) {
    Window* window = findWindow(handle);
    if (!window || window->destroying) {
        return;
    }
    window->destroying = true;
    if (window->widget) {
        window->widget->hide();
    }
    if (focusedWindow() == handle) {
        focusedWindow() = nullptr;
    }
    sendMessage(handle, WM_DESTROY, 0, 0);
    window = findWindow(handle);
    if (!window) {
        return;
    }
    const std::vector<HWND> children = window->children;
    for (HWND child : children) {
        sendDestroyMessages(child);
    }
}

void releaseWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        return;
    }
    const std::vector<HWND> children = window->children;
    for (HWND child : children) {
        releaseWindow(child);
    }
    sendMessage(handle, WM_NCDESTROY, 0, 0);
    killWindowTimers(handle);
    dropWindowMessages(handle);
    window = findWindow(handle);
    if (!window) {
        return;
    }
    if (Window* parent = findWindow(window->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), handle), siblings.end());
    }
    const HWND parentHandle = window->parent;
    const bool managed = managingParent(*window) != nullptr;
    HMENU menu = window->isChild() ? nullptr : window->menu;
    std::unique_ptr<Window> record = removeWindow(handle);
    if (record->widget) {
        record->widget->hide();
        record->widget->deleteLater();
    }
    if (menu) {
        DestroyMenu(menu);
    }
    Window* parent = managed ? findWindow(parentHandle) : nullptr;
    if (parent && parent->control) {
        parent->control->childDestroyed(*parent, handle);
    }
}

}  // namespace
}  // namespace platform

using namespace platform;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    static ATOM nextAtom = 0xC000;
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) {
        return 0;
    }
    auto record = std::make_shared<WindowClass>();
    record->name = windowClass->lpszClassName;
    record->procedure = windowClass->lpfnWndProc;
    record->style = windowClass->style;
    record->instance = windowClass->hInstance;
    record->icon = windowClass->hIcon;
    record->cursor = windowClass->hCursor;
    record->background = windowClass->hbrBackground;
    if (windowClass->lpszMenuName && !IS_INTRESOURCE(windowClass->lpszMenuName)) {
        record->menuNameText = windowClass->lpszMenuName;
    }
    if (!addClass(record)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    record->menuName =
        record->menuNameText.empty() ? windowClass->lpszMenuName : record->menuNameText.c_str();
    return nextAtom++;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    // A class stays while windows of it exist, as on Win32.
    const auto windowClass = findClass(className, instance);
    for (HWND handle : allWindows()) {
        if (windowClass && findWindow(handle)->windowClass == windowClass) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    if (!removeClass(className)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    auto windowClass = findClass(className, instance);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parentWindow = findWindow(parent);
    // A child that its parent's control manages is a child window whatever its
    // style says; it is created normal, then minimised or maximised as asked.
    const bool managed =
        parentWindow && parentWindow->control && parentWindow->control->managesChild(exStyle);
    if (managed) {
        style |= WS_CHILD;
    }
    if ((parent && !parentWindow) || ((style & WS_CHILD) && !parentWindow)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto record = std::make_unique<Window>();
    record->windowClass = windowClass;
    record->procedure = windowClass->procedure;
    const DWORD shape = managed ? style & (WS_MINIMIZE | WS_MAXIMIZE) : 0;
    record->style = style & ~(WS_VISIBLE | shape);
    record->exStyle = exStyle;
    record->instance = instance;
    record->parent = parent;
    record->text = windowName ? windowName : "";
    if (style & WS_CHILD) {
        record->id = reinterpret_cast<LONG_PTR>(menu);
    }
    const HWND handle = addWindow(std::move(record));
    Window& window = *findWindow(handle);
    if (parentWindow) {
        parentWindow->children.push_back(handle);
    }

    buildWidgets(window, parentWindow, (style & WS_CHILD) ? nullptr : menu);
    const QRect rect = initialRect(window, x, y, width, height);
    window.widget->setGeometry(rect);
    if (window.isChild()) {
        window.widget->hide();
    }
    layoutWindow(window);

    CREATESTRUCTA creation{param,      instance,      menu,
                           parent,     rect.height(), rect.width(),
                           rect.y(),   rect.x(),      static_cast<LONG>(style),
                           windowName, className,     exStyle};
    if (!sendMessage(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&creation))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (sendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&creation)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!findWindow(handle)) {
        return nullptr;
    }
    reportGeometry(handle);
    if (style & WS_VISIBLE) {
        ShowWindow(handle, SW_SHOW);
    }
    if (const Window* created = findWindow(handle)) {
        if (Window* manager = managingParent(*created)) {
            manager->control->childCreated(*manager, handle);
        }
    }
    if (shape && findWindow(handle)) {
        ShowWindow(handle, (shape & WS_MAXIMIZE) ? SW_MAXIMIZE : SW_MINIMIZE);
    }
    return findWindow(handle) ? handle : nullptr;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (window->destroying) {
        return TRUE;
    }
    sendDestroyMessages(handle);
    releaseWindow(handle);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND handle) {
    return findWindow(handle) != nullptr;
}
