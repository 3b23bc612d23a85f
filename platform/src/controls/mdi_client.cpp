// The "MDICLIENT" control: its window procedure, its documents in creation
// and activation order, their activation and their list in the frame's window
// menu.
#include "controls/mdi_client.h"

#include <QWidget>
#include <string>

#include "windows/menus.h"
#include "windows/predefined_classes.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

// The window menu lists this many documents, as Win32 does before "More windows".
constexpr std::size_t listedDocuments = 9;

void setCaption(HWND handle, bool active) {
    if (Window* window = findWindow(handle)) {
        window->widget->setActiveCaption(active);
    }
}

HWND nextDocument(const MdiClient& client, HWND from, bool previous) {
    if (client.zOrder.size() < 2) {
        return nullptr;
    }
    if (previous) {
        return client.zOrder.back();
    }
    const auto at =
        std::find(client.zOrder.begin(), client.zOrder.end(), from ? from : client.active);
    if (at == client.zOrder.end()) {
        return nullptr;
    }
    // The next one is the one just behind; the caller sends `from` to the back.
    return std::next(at) == client.zOrder.end() ? client.zOrder.front() : *std::next(at);
}

// Going forward sends the document left to the back, so that repeating it
// visits every document in turn; going back brings the backmost forward.
void onNext(HWND handle, MdiClient& client, HWND from, bool previous) {
    const HWND left = from ? from : client.active;
    const HWND next = nextDocument(client, left, previous);
    if (!next) {
        return;
    }
    activate(handle, next);
    if (!previous && contains(client.zOrder, left)) {
        std::erase(client.zOrder, left);
        client.zOrder.push_back(left);
    }
}

LRESULT CALLBACK mdiClientProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    MdiClient* client = clientOf(handle);
    if (!client) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
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
            if (lParam) {
                *reinterpret_cast<BOOL*>(lParam) =
                    client->maximized && client->maximized == client->active;
            }
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
            if (contains(client->children, reinterpret_cast<HWND>(wParam))) {
                DestroyWindow(reinterpret_cast<HWND>(wParam));
            }
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
    if (!client || !window) {
        return {};
    }
    return cascadeRect(clientSize(*window), client->created);
}

void mdiChildCreated(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    if (!client) {
        return;
    }
    watchDocumentInput();
    ++client->created;
    client->children.push_back(child);
    client->zOrder.push_back(child);
    // A new document restores a maximised one and stays normal itself, as under Wine.
    if (client->maximized) {
        changeShape(clientHandle, client->maximized, Shape::Normal);
        if (!clientOf(clientHandle)) {
            return;
        }
    }
    activate(clientHandle, child);
}

void mdiChildDestroyed(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    const Window* window = findWindow(clientHandle);
    if (!client || !window) {
        return;
    }
    std::erase(client->children, child);
    std::erase(client->zOrder, child);
    client->placements.erase(child);
    const bool wasMaximized = client->maximized == child;
    if (wasMaximized) {
        client->maximized = nullptr;
    }
    if (client->active == child) {
        client->active = nullptr;
    }
    if (window->destroying) {
        return;
    }
    // The next document takes the place of a maximised one that closed.
    if (wasMaximized && !client->zOrder.empty()) {
        changeShape(clientHandle, client->zOrder.front(), Shape::Maximized);
    } else if (!client->active && !client->zOrder.empty()) {
        activate(clientHandle, client->zOrder.front());
    } else {
        refreshWindowMenu(*client);
    }
    if (wasMaximized) {
        showMaximizedOnFrame(clientHandle);
    }
    arrangeMinimized(clientHandle);
}

void mdiChildTextChanged(HWND clientHandle) {
    MdiClient* client = clientOf(clientHandle);
    if (!client) {
        return;
    }
    refreshWindowMenu(*client);
    if (client->maximized) {
        showMaximizedOnFrame(clientHandle);
    }
}

}  // namespace

MdiClient* clientOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<MdiClient*>(window->control.get()) : nullptr;
}

bool isDocument(const Window& window) {
    return (window.exStyle & WS_EX_MDICHILD) && clientOf(window.parent);
}

void refreshWindowMenu(MdiClient& client) {
    HMENU menu = client.windowMenu;
    if (!menu) {
        return;
    }
    for (; client.appendedMenuItems > 0; --client.appendedMenuItems) {
        removeMenuItem(menu, static_cast<UINT>(GetMenuItemCount(menu) - 1));
    }
    if (client.children.empty() || GetMenuItemCount(menu) < 0) {
        return;
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ++client.appendedMenuItems;
    const std::size_t listed = std::min(client.children.size(), listedDocuments);
    for (std::size_t i = 0; i < listed; ++i) {
        const Window* child = findWindow(client.children[i]);
        const std::string text =
            "&" + std::to_string(i + 1) + " " + (child ? child->text : std::string());
        const UINT check = client.children[i] == client.active ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuA(menu, MF_STRING | check, client.idFirstChild + i, text.c_str());
        ++client.appendedMenuItems;
    }
}

void activate(HWND clientHandle, HWND child) {
    MdiClient* client = clientOf(clientHandle);
    if (!client || !contains(client->children, child)) {
        return;
    }
    // The maximised state goes with the activation, as on Win32.
    if (client->maximized && client->maximized != child) {
        changeShape(clientHandle, child, Shape::Maximized);
        return;
    }
    if (Window* window = findWindow(child)) {
        window->widget->raise();
    }
    const HWND previous = client->active;
    if (previous == child) {
        return;
    }
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
    if (findWindow(child)) {
        SetFocus(child);
    }
    sendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(previous),
                reinterpret_cast<LPARAM>(child));
}

void MdiClient::layout(Window& window) {
    if (maximized) {
        fillClient(window.handle, maximized);
    }
    arrangeMinimized(window.handle);
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

void registerMdiClientClass() {
    registerPredefinedClass("MDICLIENT", mdiClientProc, createMdiClient,
                            reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1));
}

}  // namespace platform
