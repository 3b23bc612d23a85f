#include "windows/window.h"

#include <QMenuBar>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <map>

#include "ansi_text.h"
#include "handle_table.h"
#include "windows/predefined_classes.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

HandleTable<Window, HWND>& windows() {
    static HandleTable<Window, HWND> table(0x10000);
    return table;
}

std::string lowerCase(const char* text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::map<std::string, std::shared_ptr<WindowClass>>& classes() {
    static std::map<std::string, std::shared_ptr<WindowClass>> registry;
    return registry;
}

void ensurePredefinedClasses() {
    static bool registered = false;
    if (registered) {
        return;
    }
    registered = true;
    registerPredefinedClasses();
}

}  // namespace

ControlState::~ControlState() = default;

Window* findWindow(HWND handle) {
    return handle ? windows().find(handle) : nullptr;
}

Window* windowOfWidget(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (const auto* windowWidget = dynamic_cast<const WindowWidget*>(widget)) {
            return findWindow(windowWidget->handle());
        }
    }
    return nullptr;
}

std::vector<HWND> allWindows() {
    std::vector<HWND> handles;
    windows().forEachHandle([&](HWND handle) { handles.push_back(handle); });
    return handles;
}

Window* managingParent(const Window& window) {
    Window* parent = findWindow(window.parent);
    const bool managed = parent && parent->control && parent->control->managesChild(window.exStyle);
    return managed ? parent : nullptr;
}

HWND addWindow(std::unique_ptr<Window> window) {
    Window* record = window.get();
    record->handle = windows().add(std::move(window));
    return record->handle;
}

std::unique_ptr<Window> removeWindow(HWND handle) {
    return windows().remove(handle);
}

std::shared_ptr<const WindowClass> findClass(const char* name, HINSTANCE) {
    ensurePredefinedClasses();
    if (!name) {
        return nullptr;
    }
    const auto found = classes().find(lowerCase(name));
    return found == classes().end() ? nullptr : found->second;
}

bool addClass(std::shared_ptr<WindowClass> windowClass) {
    ensurePredefinedClasses();
    const std::string key = lowerCase(windowClass->name.c_str());
    auto found = classes().find(key);
    if (found != classes().end() && !found->second->predefined) {
        return false;
    }
    classes()[key] = std::move(windowClass);
    return true;
}

bool removeClass(const char* name) {
    ensurePredefinedClasses();
    if (!name) {
        return false;
    }
    const auto found = classes().find(lowerCase(name));
    if (found == classes().end() || found->second->predefined) {
        return false;
    }
    classes().erase(found);
    return true;
}

void registerPredefinedClass(const char* name, WNDPROC procedure, WidgetFactory factory,
                             HBRUSH background) {
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->name = name;
    windowClass->procedure = procedure;
    windowClass->createWidget = factory;
    windowClass->background = background;
    windowClass->predefined = true;
    classes()[lowerCase(name)] = std::move(windowClass);
}

void unregisterApplicationClasses() {
    for (auto entry = classes().begin(); entry != classes().end();) {
        entry = entry->second->predefined ? std::next(entry) : classes().erase(entry);
    }
}

QSize clientSize(const Window& window) {
    return window.client ? window.client->size() : QSize();
}

QRect windowRectangle(const Window& window) {
    if (!window.widget) {
        return {};
    }
    if (!window.isChild()) {
        return window.widget->frameGeometry();
    }
    return window.widget->geometry();
}

LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = findWindow(handle);
    if (!window || !window->procedure) {
        return 0;
    }
    return window->procedure(handle, message, wParam, lParam);
}

void layoutWindow(Window& window) {
    if (!window.widget || !window.content) {
        return;
    }
    if (QMenuBar* bar = window.widget->menuBar()) {
        bar->setGeometry(0, 0, window.widget->width(), bar->sizeHint().height());
    }
    window.content->setGeometry(window.widget->contentRect());
    if (window.client && window.client != window.content &&
        window.client->parentWidget() == window.content) {
        window.client->setGeometry(window.content->rect());
    }
    if (window.control) {
        window.control->layout(window);
    }
}

void reportGeometry(HWND handle) {
    Window* window = findWindow(handle);
    if (!window || !window->client || window->destroying) {
        return;
    }
    const QSize size = clientSize(*window);
    const QPoint position =
        window->isChild()
            ? window->client->mapTo(window->widget, QPoint(0, 0)) + window->widget->pos()
            : window->widget->geometry().topLeft();
    const WPARAM sizeType = (window->style & WS_MINIMIZE)   ? SIZE_MINIMIZED
                            : (window->style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                            : SIZE_RESTORED;
    const bool sizeChanged =
        size != window->reportedClientSize || sizeType != window->reportedSizeType;
    const bool moved = position != window->reportedPosition;
    window->reportedClientSize = size;
    window->reportedSizeType = sizeType;
    window->reportedPosition = position;
    if (sizeChanged) {
        sendMessage(handle, WM_SIZE, sizeType, MAKELPARAM(size.width(), size.height()));
    }
    if (moved && findWindow(handle)) {
        sendMessage(handle, WM_MOVE, 0, MAKELPARAM(position.x(), position.y()));
    }
}

void setWindowText(Window& window, std::string text) {
    window.text = std::move(text);
    if (window.widget && !window.isChild()) {
        window.widget->setWindowTitle(fromAnsi(window.text));
    }
    if (window.widget) {
        window.widget->update();
    }
    if (window.control) {
        window.control->textChanged(window);
    }
}

HWND& focusedWindow() {
    static HWND focused = nullptr;
    return focused;
}

HINSTANCE moduleInstance() {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000));
}

}  // namespace platform
