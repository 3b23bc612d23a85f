// Minimised, normal and maximised documents: a document's shape, where it goes
// back to, the rows of minimised ones and the maximised one on the frame.
#include "controls/mdi_client.h"
#include "windows/maximized_controls.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

Shape shapeOf(const Window& window) {
    if (window.style & WS_MINIMIZE) {
        return Shape::Minimized;
    }
    if (window.style & WS_MAXIMIZE) {
        return Shape::Maximized;
    }
    return Shape::Normal;
}

void placeWindow(HWND handle, const QRect& rect, UINT flags) {
    SetWindowPos(handle, nullptr, rect.x(), rect.y(), rect.width(), rect.height(),
                 flags | SWP_NOACTIVATE);
}

HWND nextUnminimized(const MdiClient& client, HWND except) {
    for (HWND handle : client.zOrder) {
        if (handle != except && !isMinimized(handle)) {
            return handle;
        }
    }
    return nullptr;
}

}  // namespace

bool isMinimized(HWND handle) {
    const Window* window = findWindow(handle);
    return window && shapeOf(*window) == Shape::Minimized;
}

// A maximised document's frame and caption lie outside the client: only its
// client area shows, and it covers the MDI client's.
void fillClient(HWND clientHandle, HWND child) {
    const Window* clientWindow = findWindow(clientHandle);
    const Window* window = findWindow(child);
    if (!clientWindow || !window) {
        return;
    }
    const QMargins margins = window->widget->nonClientMargins();
    placeWindow(child, QRect(QPoint(0, 0), clientSize(*clientWindow)).marginsAdded(margins), 0);
}

// Places the minimised documents in rows along the bottom of the client, in
// the order of the window menu; answers the height they take.
int arrangeMinimized(HWND clientHandle) {
    const MdiClient* client = clientOf(clientHandle);
    const Window* clientWindow = findWindow(clientHandle);
    if (!client || !clientWindow) {
        return 0;
    }
    const QSize area = clientSize(*clientWindow);
    const int perRow = std::max(1, area.width() / minimizedWidth);
    int placed = 0;
    for (HWND child : std::vector<HWND>(client->children)) {
        if (!isMinimized(child)) {
            continue;
        }
        const QPoint at((placed % perRow) * minimizedWidth,
                        area.height() - (placed / perRow + 1) * minimizedHeight);
        placeWindow(child, QRect(at, QSize(minimizedWidth, minimizedHeight)), SWP_NOZORDER);
        ++placed;
    }
    return (placed + perRow - 1) / perRow * minimizedHeight;
}

// The frame's title and menu bar show the maximised document, if there is one.
void showMaximizedOnFrame(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    const Window* clientWindow = findWindow(clientHandle);
    Window* frame = clientWindow ? findWindow(clientWindow->parent) : nullptr;
    if (!client || !frame || frame->destroying) {
        return;
    }
    if (const Window* document = findWindow(client->maximized)) {
        if (!client->frameTitle) {
            client->frameTitle = frame->text;
        }
        setWindowText(*frame, *client->frameTitle + " - [" + document->text + "]");
    } else if (client->frameTitle) {
        setWindowText(*frame, *client->frameTitle);
        client->frameTitle.reset();
    }
    showMaximizedControls(frame->handle, client->maximized);
}

void changeShape(HWND clientHandle, HWND child, Shape target) {
    MdiClient* client = clientOf(clientHandle);
    Window* window = findWindow(child);
    if (!client || !window || !contains(client->children, child)) {
        return;
    }
    const Shape current = shapeOf(*window);
    if (current == target) {
        return;
    }
    if (target == Shape::Maximized && client->maximized) {
        changeShape(clientHandle, client->maximized, Shape::Normal);
        window = findWindow(child);
        if (!window) {
            return;
        }
    }
    Placement& placement = client->placements[child];
    if (current == Shape::Normal) {
        placement.normal = window->widget->geometry();
    }
    placement.restoreMaximized = target == Shape::Minimized && current == Shape::Maximized;
    const QRect normal = placement.normal;
    window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (target == Shape::Minimized) {
        window->style |= WS_MINIMIZE;
    }
    if (target == Shape::Maximized) {
        window->style |= WS_MAXIMIZE;
    }
    if (current == Shape::Maximized) {
        client->maximized = nullptr;
    }
    if (target == Shape::Maximized) {
        client->maximized = child;
    }
    window->widget->update();
    switch (target) {
        case Shape::Normal:
            placeWindow(child, normal, 0);
            break;
        case Shape::Minimized:
            break;
        case Shape::Maximized:
            fillClient(clientHandle, child);
            break;
    }
    if (current == Shape::Minimized || target == Shape::Minimized) {
        arrangeMinimized(clientHandle);
    }
    if (current == Shape::Maximized || target == Shape::Maximized) {
        showMaximizedOnFrame(clientHandle);
    }
    client = clientOf(clientHandle);
    if (!client || !findWindow(child)) {
        return;
    }
    if (target == Shape::Maximized) {
        activate(clientHandle, child);
    } else if (target == Shape::Minimized && client->active == child) {
        if (const HWND next = nextUnminimized(*client, child)) {
            activate(clientHandle, next);
        }
    }
}

void showMdiChild(HWND clientHandle, HWND child, int command) {
    const MdiClient* client = clientOf(clientHandle);
    if (!client) {
        return;
    }
    switch (command) {
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            changeShape(clientHandle, child, Shape::Minimized);
            break;
        case SW_MAXIMIZE:
            changeShape(clientHandle, child, Shape::Maximized);
            break;
        case SW_RESTORE:
        case SW_SHOWNORMAL:
        case SW_SHOWNOACTIVATE: {
            const auto placement = client->placements.find(child);
            const bool backToMaximized = isMinimized(child) &&
                                         placement != client->placements.end() &&
                                         placement->second.restoreMaximized;
            changeShape(clientHandle, child, backToMaximized ? Shape::Maximized : Shape::Normal);
            break;
        }
        default:
            break;
    }
}

}  // namespace platform
