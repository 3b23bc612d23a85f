// The test mode's read-back: what the windows show, and painting them into
// images that a test reads pixel by pixel.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "ansi_text.h"
#include "controls/control_test_access.h"
#include "test_mode/test_mode.h"
#include "windows/menus.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

RECT toRect(const QRect& rect) {
    return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

const ListReadBack* readBackOf(HWND listBox) {
    const Window* window = findWindow(listBox);
    return window ? dynamic_cast<const ListReadBack*>(window->control.get()) : nullptr;
}

}  // namespace

}  // namespace platform

using namespace platform;

namespace win32test {

bool isShown(HWND handle) {
    return IsWindowVisible(handle) != FALSE;
}

RECT windowRect(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? toRect(windowRectangle(*window)) : RECT{};
}

RECT clientRect(HWND handle) {
    RECT rect{};
    GetClientRect(handle, &rect);
    return rect;
}

std::string windowText(HWND handle) {
    if (!findWindow(handle)) {
        return {};
    }
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(handle)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(handle, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string clipboardText() {
    return toAnsi(QGuiApplication::clipboard()->text());
}

std::string className(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? window->windowClass->name : std::string();
}

std::vector<HWND> childWindows(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? window->children : std::vector<HWND>();
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> result;
    for (HWND handle : allWindows()) {
        const Window* window = findWindow(handle);
        if (window && !window->isChild()) {
            result.push_back(handle);
        }
    }
    return result;
}

std::vector<MenuItem> menuItems(HMENU menu) {
    return menuItemsOf(menu);
}

bool menuItemChecked(HMENU menu, UINT id) {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != UINT(-1) && (state & MF_CHECKED);
}

bool menuItemChecked(HWND handle, UINT id) {
    return menuItemChecked(GetMenu(handle), id);
}

std::vector<ListItem> listItems(HWND listBox) {
    const ListReadBack* list = readBackOf(listBox);
    return list ? list->lines() : std::vector<ListItem>();
}

int listTopIndex(HWND listBox) {
    const ListReadBack* list = readBackOf(listBox);
    return list ? list->topIndex() : LB_ERR;
}

int listSelectedIndex(HWND listBox) {
    return findWindow(listBox) ? static_cast<int>(SendMessageA(listBox, LB_GETCURSEL, 0, 0))
                               : LB_ERR;
}

int listVisibleItemCount(HWND listBox) {
    const ListReadBack* list = readBackOf(listBox);
    return list ? list->visibleCount() : 0;
}

void paint(HWND handle) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle)) {
        return;
    }
    QImage image(window->widget->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window->widget->render(&image);
    rememberPaintedImage(handle, image);
}

COLORREF pixelAt(HWND handle, int x, int y) {
    const Window* window = findWindow(handle);
    const QImage* painted = paintedImage(handle);
    if (!window || !painted) {
        return CLR_INVALID;
    }
    const QPoint at = window->client->mapTo(window->widget, QPoint(x, y));
    if (!painted->rect().contains(at)) {
        return CLR_INVALID;
    }
    const QColor color = painted->pixelColor(at);
    return RGB(color.red(), color.green(), color.blue());
}

}  // namespace win32test
