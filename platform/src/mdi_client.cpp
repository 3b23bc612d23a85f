// The "MDICLIENT" control and the default procedures of MDI frames and
// children: document windows inside the frame, their activation, minimising
// and maximising, tiling and cascading, and their list in the frame's window
// menu.
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "caption_buttons.h"
#include "maximized_controls.h"
#include "menus.h"
#include "predefined_classes.h"
#include "window.h"
#include "window_widget.h"

namespace platform {

namespace {

// Offset between cascaded windows: a caption and a frame, as in Win32.
constexpr int kCascadeSpacing = kCaptionHeight + kFrameWidth - 1;
// The window menu lists this many documents, as Win32 does before "More windows".
constexpr std::size_t kListedDocuments = 9;

bool isDocument(const Window& window);

// Clicks anywhere in a document window activate it, and Ctrl+F4 and Ctrl+F6
// close it and move to the next one: what TranslateMDISysAccel and the
// system's mouse activation do on Win32.
class DocumentInput : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress;
        const bool key = event->type() == QEvent::KeyPress;
        if (!(press || key) || !watched->isWidgetType())
            return QObject::eventFilter(watched, event);
        const HWND document = documentOf(static_cast<QWidget*>(watched));
        if (!document)
            return QObject::eventFilter(watched, event);
        const Window* window = findWindow(document);
        if (press) {
            SendMessageA(window->parent, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
            focusClickedControl(static_cast<QWidget*>(watched));
            return false;
        }
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->modifiers() != Qt::ControlModifier)
            return false;
        if (keyEvent->key() == Qt::Key_F4) {
            SendMessageA(document, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        }
        if (keyEvent->key() == Qt::Key_F6) {
            SendMessageA(document, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
            return true;
        }
        return false;
    }

private:
    // Activation focuses the document; then, as on Win32, the click focuses the
    // control under it, if that control takes the focus.
    static void focusClickedControl(const QWidget* widget) {
        for (; widget; widget = widget->parentWidget()) {
            if (widget->focusPolicy() & Qt::ClickFocus) {
                if (const Window* control = windowOfWidget(widget))
                    SetFocus(control->handle);
                return;
            }
            if (dynamic_cast<const WindowWidget*>(widget))
                return;
        }
    }

    static HWND documentOf(const QWidget* widget) {
        for (const Window* window = windowOfWidget(widget); window;
             window = findWindow(window->parent)) {
            if (isDocument(*window))
                return window->handle;
        }
        return nullptr;
    }
};

void watchDocumentInput() {
    static DocumentInput* filter = nullptr;
    if (filter || !QCoreApplication::instance())
        return;
    filter = new DocumentInput;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

// Where a document goes back to when it is restored.
struct Placement {
    QRect normal;
    bool restoreMaximized = false;  // it was maximised when it was minimised
};

struct MdiClient : ControlState {
    HMENU windowMenu = nullptr;
    UINT idFirstChild = 0;
    std::vector<HWND> children;  // creation order: the order of the window menu
    std::vector<HWND> zOrder;    // the active document first
    HWND active = nullptr;
    HWND maximized = nullptr;               // always the active one, when there is one
    std::optional<std::string> frameTitle;  // the frame's own title while a document is maximised
    std::map<HWND, Placement> placements;
    int created = 0;
    int appendedMenuItems = 0;

    void layout(Window& window) override;
    bool managesChild(DWORD exStyle) const override { return (exStyle & WS_EX_MDICHILD) != 0; }
    QRect defaultChildRect(Window& window) override;
    void childCreated(Window& window, HWND child) override;
    void childDestroyed(Window& window, HWND child) override;
    void childTextChanged(Window& window, HWND child) override;
    void childShown(Window& window, HWND child, int command) override;
};

enum class Shape { Normal, Minimized, Maximized };

MdiClient* clientOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<MdiClient*>(window->control.get()) : nullptr;
}

bool contains(const std::vector<HWND>& list, HWND handle) {
    return std::find(list.begin(), list.end(), handle) != list.end();
}

void refreshWindowMenu(MdiClient& client) {
    HMENU menu = client.windowMenu;
    if (!menu)
        return;
    for (; client.appendedMenuItems > 0; --client.appendedMenuItems) {
        removeMenuItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1));
    }
    if (client.children.empty() || GetMenuItemCount(menu) < 0)
        return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ++client.appendedMenuItems;
    const std::size_t listed = std::min(client.children.size(), kListedDocuments);
    for (std::size_t i = 0; i < listed; ++i) {
        const Window* child = findWindow(client.children[i]);
        const std::string text =
            "&" + std::to_string(i + 1) + " " + (child ? child->text : std::string());
        const UINT check = client.children[i] == client.active ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu, MF_STRING | check, client.idFirstChild + i, text.c_str());
        ++client.appendedMenuItems;
    }
}

void setCaption(HWND handle, bool active) {
    if (Window* window = findWindow(handle))
        window->widget->setActiveCaption(active);
}

void changeShape(HWND clientHandle, HWND child, Shape target);

void activate(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    if (!client || !contains(client->children, child))
        return;
    // The maximised state goes with the activation, as on Win32.
    if (client->maximized && client->maximized != child) {
        changeShape(clientHandle, child, Shape::Maximized);
        return;
    }
    if (Window* window = findWindow(child))
        window->widget->raise();
    const HWND previous = client->active;
    if (previous == child)
        return;
    client->active = child;
    client->zOrder.erase(std::remove(client->zOrder.begin(), client->zOrder.end(), child),
                         client->zOrder.end());
    client->zOrder.insert(client->zOrder.begin(), child);
    setCaption(previous, false);
    setCaption(child, true);
    refreshWindowMenu(*client);
    sendMessage(child, WM_CHILDACTIVATE, 0, 0);
    if (previous) {
        sendMessage(previous, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
                    reinterpret_cast<LPARAM>(child));
    }
    if (findWindow(child))
        SetFocus(child);
    sendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
                reinterpret_cast<LPARAM>(child));
}

Shape shapeOf(const Window& window) {
    if (window.style & WS_MINIMIZE)
        return Shape::Minimized;
    if (window.style & WS_MAXIMIZE)
        return Shape::Maximized;
    return Shape::Normal;
}

bool isMinimized(HWND handle) {
    const Window* window = findWindow(handle);
    return window && shapeOf(*window) == Shape::Minimized;
}

void placeWindow(HWND handle, const QRect& rect, UINT flags) {
    SetWindowPos(handle, nullptr, rect.x(), rect.y(), rect.width(), rect.height(),
                 flags | SWP_NOACTIVATE);
}

// A maximised document's frame and caption lie outside the client: only its
// client area shows, and it covers the MDI client's.
void fillClient(HWND clientHandle, HWND child) {
    const Window* clientWindow = findWindow(clientHandle);
    const Window* window = findWindow(child);
    if (!clientWindow || !window)
        return;
    const QMargins margins = window->widget->nonClientMargins();
    placeWindow(child, QRect(QPoint(0, 0), clientSize(*clientWindow)).marginsAdded(margins), 0);
}

// Places the minimised documents in rows along the bottom of the client, in
// the order of the window menu; answers the height they take.
int arrangeMinimized(HWND clientHandle) {
    const MdiClient* client = clientOf(clientHandle);
    const Window* clientWindow = findWindow(clientHandle);
    if (!client || !clientWindow)
        return 0;
    const QSize area = clientSize(*clientWindow);
    const int perRow = std::max(1, area.width() / kMinimizedWidth);
    int placed = 0;
    for (HWND child : std::vector<HWND>(client->children)) {
        if (!isMinimized(child))
            continue;
        const QPoint at((placed % perRow) * kMinimizedWidth,
                        area.height() - (placed / perRow + 1) * kMinimizedHeight);
        placeWindow(child, QRect(at, QSize(kMinimizedWidth, kMinimizedHeight)), SWP_NOZORDER);
        ++placed;
    }
    return (placed + perRow - 1) / perRow * kMinimizedHeight;
}

// The frame's title and menu bar show the maximised document, if there is one.
void showMaximizedOnFrame(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    const Window* clientWindow = findWindow(clientHandle);
    Window* frame = clientWindow ? findWindow(clientWindow->parent) : nullptr;
    if (!client || !frame || frame->destroying)
        return;
    if (const Window* document = findWindow(client->maximized)) {
        if (!client->frameTitle)
            client->frameTitle = frame->text;
        setWindowText(*frame, *client->frameTitle + " - [" + document->text + "]");
    } else if (client->frameTitle) {
        setWindowText(*frame, *client->frameTitle);
        client->frameTitle.reset();
    }
    showMaximizedControls(frame->handle, client->maximized);
}

HWND nextUnminimized(const MdiClient& client, HWND except) {
    for (HWND handle : client.zOrder) {
        if (handle != except && !isMinimized(handle))
            return handle;
    }
    return nullptr;
}

void changeShape(HWND clientHandle, HWND child, Shape target) {
    MdiClient* client = clientOf(clientHandle);
    Window* window = findWindow(child);
    if (!client || !window || !contains(client->children, child))
        return;
    const Shape current = shapeOf(*window);
    if (current == target)
        return;
    if (target == Shape::Maximized && client->maximized) {
        changeShape(clientHandle, client->maximized, Shape::Normal);
        window = findWindow(child);
        if (!window)
            return;
    }
    Placement& placement = client->placements[child];
    if (current == Shape::Normal)
        placement.normal = window->widget->geometry();
    placement.restoreMaximized = target == Shape::Minimized && current == Shape::Maximized;
    const QRect normal = placement.normal;
    window->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    if (target == Shape::Minimized)
        window->style |= WS_MINIMIZE;
    if (target == Shape::Maximized)
        window->style |= WS_MAXIMIZE;
    if (current == Shape::Maximized)
        client->maximized = nullptr;
    if (target == Shape::Maximized)
        client->maximized = child;
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
    if (current == Shape::Minimized || target == Shape::Minimized)
        arrangeMinimized(clientHandle);
    if (current == Shape::Maximized || target == Shape::Maximized)
        showMaximizedOnFrame(clientHandle);
    client = clientOf(clientHandle);
    if (!client || !findWindow(child))
        return;
    if (target == Shape::Maximized) {
        activate(clientHandle, child);
    } else if (target == Shape::Minimized && client->active == child) {
        if (const HWND next = nextUnminimized(*client, child))
            activate(clientHandle, next);
    }
}

void MdiClient::layout(Window& window) {
    if (maximized)
        fillClient(window.handle, maximized);
    arrangeMinimized(window.handle);
}

// Tiling and cascading show every document that is not minimised: a
// maximised one is restored first.
std::vector<HWND> restoreForArranging(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    if (!client)
        return {};
    if (client->maximized)
        changeShape(clientHandle, client->maximized, Shape::Normal);
    std::vector<HWND> documents;
    for (HWND handle : client->zOrder) {
        if (!isMinimized(handle))
            documents.push_back(handle);
    }
    return documents;
}

// The client area less the rows of minimised documents along its bottom.
QSize areaAboveMinimized(HWND clientHandle) {
    const Window* window = findWindow(clientHandle);
    if (!window)
        return {};
    const QSize area = clientSize(*window);
    return QSize(area.width(), std::max(0, area.height() - arrangeMinimized(clientHandle)));
}

QRect cascadeRect(const QSize& area, int index) {
    const int stagger = area.height() / (3 * kCascadeSpacing);
    const int offset = kCascadeSpacing * (index % (stagger + 1));
    return QRect(offset, offset, area.width() - kCascadeSpacing * stagger,
                 area.height() - kCascadeSpacing * stagger);
}

void tile(HWND clientHandle, WPARAM how) {
    const std::vector<HWND> documents = restoreForArranging(clientHandle);
    if (documents.empty())
        return;
    const int total = static_cast<int>(documents.size());
    const QSize area = areaAboveMinimized(clientHandle);
    int rows = static_cast<int>(std::sqrt(static_cast<double>(total)));
    int columns = total / rows;
    if (how & MDITILE_HORIZONTAL)
        std::swap(rows, columns);
    int width = area.width() / columns;
    int height = area.height() / rows;
    int placed = 0;
    for (int column = 1, x = 0; column <= columns && placed < total; ++column, x += width) {
        if (column == columns) {
            rows = total - placed;
            height = area.height() / rows;
        }
        for (int row = 1, y = 0; row <= rows && placed < total; ++row, y += height) {
            SetWindowPos(documents[static_cast<std::size_t>(placed++)], nullptr, x, y, width,
                         height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void cascade(HWND clientHandle) {
    const std::vector<HWND> documents = restoreForArranging(clientHandle);
    const std::vector<HWND> bottomFirst(documents.rbegin(), documents.rend());
    const QSize area = areaAboveMinimized(clientHandle);
    int index = 0;
    for (HWND document : bottomFirst) {
        const QRect rect = cascadeRect(area, index++);
        SetWindowPos(document, nullptr, rect.x(), rect.y(), rect.width(), rect.height(),
                     SWP_NOACTIVATE);
    }
}

HWND nextDocument(const MdiClient& client, HWND from, bool previous) {
    if (client.zOrder.size() < 2)
        return nullptr;
    if (previous)
        return client.zOrder.back();
    const auto at =
        std::find(client.zOrder.begin(), client.zOrder.end(), from ? from : client.active);
    if (at == client.zOrder.end())
        return nullptr;
    // The next one is the one just behind; the caller sends `from` to the back.
    return std::next(at) == client.zOrder.end() ? client.zOrder.front() : *std::next(at);
}

// Going forward sends the document left to the back, so that repeating it
// visits every document in turn; going back brings the backmost forward.
void onNext(HWND handle, MdiClient& client, HWND from, bool previous) {
    const HWND left = from ? from : client.active;
    const HWND next = nextDocument(client, left, previous);
    if (!next)
        return;
    activate(handle, next);
    if (!previous && contains(client.zOrder, left)) {
        std::erase(client.zOrder, left);
        client.zOrder.push_back(left);
    }
}

LRESULT CALLBACK mdiClientProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    MdiClient* client = clientOf(handle);
    if (!client)
        return DefWindowProcA(handle, message, wParam, lParam);
    switch (message) {
        case WM_CREATE: {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            const auto* settings =
                creation ? static_cast<const CLIENTCREATESTRUCT*>(creation->lpCreateParams)
                         : nullptr;
            if (settings) {
                client->windowMenu = static_cast<HMENU>(settings->hWindowMenu);
                client->idFirstChild = settings->idFirstChild;
            }
            return 0;
        }
        case WM_MDIGETACTIVE:
            if (lParam)
                *reinterpret_cast<BOOL*>(lParam) =
                    client->maximized && client->maximized == client->active;
            return reinterpret_cast<LRESULT>(client->active);
        case WM_MDIMAXIMIZE:
            if (contains(client->children, reinterpret_cast<HWND>(wParam))) {
                ShowWindow(reinterpret_cast<HWND>(wParam), SW_MAXIMIZE);
            }
            return 0;
        case WM_MDIRESTORE:
            if (contains(client->children, reinterpret_cast<HWND>(wParam))) {
                ShowWindow(reinterpret_cast<HWND>(wParam), SW_RESTORE);
            }
            return 0;
        case WM_MDIACTIVATE:
            activate(handle, reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_MDIDESTROY:
            if (contains(client->children, reinterpret_cast<HWND>(wParam)))
                DestroyWindow(reinterpret_cast<HWND>(wParam));
            return 0;
        case WM_MDITILE:
            tile(handle, wParam);
            return TRUE;
        case WM_MDICASCADE:
            cascade(handle);
            return TRUE;
        case WM_MDINEXT:
            onNext(handle, *client, reinterpret_cast<HWND>(wParam), lParam != 0);
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

void createMdiClient(Window& window, QWidget* content) {
    window.client = new ClientArea(window.handle, content);
    window.control = std::make_unique<MdiClient>();
}

QRect defaultMdiChildRect(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    const Window* window = findWindow(clientHandle);
    if (!client || !window)
        return {};
    return cascadeRect(clientSize(*window), client->created);
}

void mdiChildCreated(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    if (!client)
        return;
    watchDocumentInput();
    ++client->created;
    client->children.push_back(child);
    client->zOrder.push_back(child);
    // A new document restores a maximised one and stays normal itself, as under Wine.
    if (client->maximized) {
        changeShape(clientHandle, client->maximized, Shape::Normal);
        if (!clientOf(clientHandle))
            return;
    }
    activate(clientHandle, child);
}

void mdiChildDestroyed(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    const Window* window = findWindow(clientHandle);
    if (!client || !window)
        return;
    std::erase(client->children, child);
    std::erase(client->zOrder, child);
    client->placements.erase(child);
    const bool wasMaximized = client->maximized == child;
    if (wasMaximized)
        client->maximized = nullptr;
    if (client->active == child)
        client->active = nullptr;
    if (window->destroying)
        return;
    // The next document takes the place of a maximised one that closed.
    if (wasMaximized && !client->zOrder.empty()) {
        changeShape(clientHandle, client->zOrder.front(), Shape::Maximized);
    } else if (!client->active && !client->zOrder.empty()) {
        activate(clientHandle, client->zOrder.front());
    } else {
        refreshWindowMenu(*client);
    }
    if (wasMaximized)
        showMaximizedOnFrame(clientHandle);
    arrangeMinimized(clientHandle);
}

void mdiChildTextChanged(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    if (!client)
        return;
    refreshWindowMenu(*client);
    if (client->maximized)
        showMaximizedOnFrame(clientHandle);
}

void showMdiChild(HWND clientHandle, HWND child, int command) {
    const MdiClient* client = clientOf(clientHandle);
    if (!client)
        return;
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

bool isDocument(const Window& window) {
    return (window.exStyle & WS_EX_MDICHILD) && clientOf(window.parent);
}

QRect MdiClient::defaultChildRect(Window& window) {
    return defaultMdiChildRect(window.handle);
}

void MdiClient::childCreated(Window& window, HWND child) {
    mdiChildCreated(window.handle, child);
}

void MdiClient::childDestroyed(Window& window, HWND child) {
    mdiChildDestroyed(window.handle, child);
}

void MdiClient::childTextChanged(Window& window, HWND) {
    mdiChildTextChanged(window.handle);
}

void MdiClient::childShown(Window& window, HWND child, int command) {
    showMdiChild(window.handle, child, command);
}

}  // namespace

void registerMdiClientClass() {
    registerPredefinedClass("MDICLIENT", mdiClientProc, createMdiClient,
                            reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
}

}  // namespace platform

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
            if (findWindow(clientHandle))
                SetWindowPos(clientHandle, nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                             SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        case WM_COMMAND:
            if (const MdiClient* client = clientOf(clientHandle)) {
                const UINT id = LOWORD(wParam);
                if (id >= client->idFirstChild &&
                    id < client->idFirstChild + client->children.size()) {
                    const HWND document = client->children[id - client->idFirstChild];
                    if (isMinimized(document))
                        ShowWindow(document, SW_RESTORE);
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
    if (!window)
        return 0;
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
