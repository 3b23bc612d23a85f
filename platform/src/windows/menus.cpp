#include "windows/menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "handle_table.h"
#include "resources/resources.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {
namespace {

struct MenuEntry {
    UINT flags = 0;
    UINT id = 0;
    std::string text;
    HMENU popup = nullptr;
};

struct Menu {
    std::vector<MenuEntry> entries;
    HWND commandTarget = nullptr;
    std::unique_ptr<QMenu> qmenu;  // the popup's Qt form, built on first use
    QPointer<QMenuBar> bar;        // the menu bar showing this menu, if any
};

HandleTable<Menu, HMENU>& menus() {
    static HandleTable<Menu, HMENU> table(0x20000);
    return table;
}

constexpr UINT stateFlags = MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_POPUP |
                            MF_MENUBARBREAK | MF_MENUBREAK | MF_HILITE | MF_OWNERDRAW | MF_DEFAULT |
                            MF_RIGHTJUSTIFY;

struct Found {
    Menu* menu = nullptr;
    HMENU handle = nullptr;
    std::size_t index = 0;
};

// By command: the first item with this id in the menu or its submenus.
Found findByCommand(HMENU handle, UINT id) {
    Menu* menu = menus().find(handle);
    if (!menu) {
        return {};
    }
    for (std::size_t index = 0; index < menu->entries.size(); ++index) {
        const MenuEntry& entry = menu->entries[index];
        if (entry.popup) {
            if (Found inner = findByCommand(entry.popup, id); inner.menu) {
                return inner;
            }
        } else if (!(entry.flags & MF_SEPARATOR) && entry.id == id) {
            return {menu, handle, index};
        }
    }
    return {};
}

Found findItem(HMENU handle, UINT item, UINT flags) {
    if (!(flags & MF_BYPOSITION)) {
        return findByCommand(handle, item);
    }
    Menu* menu = menus().find(handle);
    if (!menu || item >= menu->entries.size()) {
        return {};
    }
    return {menu, handle, item};
}

void postCommand(HWND target, UINT id) {
    PostMessageA(target, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

QAction* addCommandAction(QWidget& container, const MenuEntry& entry, HWND target) {
    auto* action = new QAction(fromAnsi(entry.text), &container);
    action->setData(entry.id);
    action->setEnabled(!(entry.flags & (MF_GRAYED | MF_DISABLED)));
    if (entry.flags & MF_CHECKED) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    const UINT id = entry.id;
    QObject::connect(action, &QAction::triggered, [target, id] { postCommand(target, id); });
    container.addAction(action);
    return action;
}

QMenu* qmenuOf(HMENU handle, HWND target);

void rebuildPopup(HMENU handle) {
    Menu* menu = menus().find(handle);
    if (!menu || !menu->qmenu) {
        return;
    }
    QMenu& qmenu = *menu->qmenu;
    qmenu.clear();
    for (const MenuEntry& entry : menu->entries) {
        if (entry.flags & MF_SEPARATOR) {
            qmenu.addSeparator();
        } else if (entry.popup) {
            if (QMenu* submenu = qmenuOf(entry.popup, menu->commandTarget)) {
                submenu->setTitle(fromAnsi(entry.text));
                qmenu.addMenu(submenu);
            }
        } else {
            addCommandAction(qmenu, entry, menu->commandTarget);
        }
    }
}

QMenu* qmenuOf(HMENU handle, HWND target) {
    Menu* menu = menus().find(handle);
    if (!menu) {
        return nullptr;
    }
    menu->commandTarget = target;
    if (!menu->qmenu) {
        menu->qmenu = std::make_unique<QMenu>();
        QObject::connect(menu->qmenu.get(), &QMenu::aboutToShow,
                         [handle] { rebuildPopup(handle); });
    }
    rebuildPopup(handle);
    return menu->qmenu.get();
}

void rebuildBar(HMENU handle) {
    Menu* menu = menus().find(handle);
    if (!menu || !menu->bar) {
        return;
    }
    QMenuBar& bar = *menu->bar;
    bar.clear();
    for (const MenuEntry& entry : menu->entries) {
        if (entry.flags & MF_SEPARATOR) {
            continue;
        }
        if (entry.popup) {
            if (QMenu* submenu = qmenuOf(entry.popup, menu->commandTarget)) {
                submenu->setTitle(fromAnsi(entry.text));
                bar.addMenu(submenu);
            }
        } else {
            addCommandAction(bar, entry, menu->commandTarget);
        }
    }
}

// Brings the Qt form up to date after a change, unless it is open right now
// (it is rebuilt when it next opens).
void menuChanged(HMENU handle) {
    Menu* menu = menus().find(handle);
    if (!menu) {
        return;
    }
    if (menu->qmenu && !menu->qmenu->isVisible()) {
        rebuildPopup(handle);
    }
}

HMENU buildFromTemplate(const std::vector<MenuTemplateItem>& items, HMENU menu) {
    for (const MenuTemplateItem& item : items) {
        if (item.popup) {
            HMENU popup = CreatePopupMenu();
            buildFromTemplate(item.children, popup);
            AppendMenuA(menu, MF_POPUP | item.flags, reinterpret_cast<UINT_PTR>(popup),
                        item.text.c_str());
        } else if (item.separator) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(menu, MF_STRING | item.flags, item.id, item.text.c_str());
        }
    }
    return menu;
}

}  // namespace

void attachMenuBar(Window& window, HMENU handle) {
    Menu* menu = menus().find(handle);
    if (!menu) {
        return;
    }
    window.menu = handle;
    menu->commandTarget = window.handle;
    if (!menu->bar) {
        menu->bar = new QMenuBar(window.widget);
        window.widget->setMenuBar(menu->bar);
    }
    rebuildBar(handle);
}

QAction* findMenuAction(HMENU root, UINT id) {
    const Found found = findByCommand(root, id);
    if (!found.menu) {
        return nullptr;
    }
    QWidget* container = nullptr;
    if (found.handle == root && found.menu->bar) {
        rebuildBar(root);
        container = found.menu->bar;
    } else {
        Menu* rootMenu = menus().find(root);
        container = qmenuOf(found.handle, rootMenu ? rootMenu->commandTarget : nullptr);
    }
    if (!container) {
        return nullptr;
    }
    for (QAction* action : container->actions()) {
        if (!action->menu() && !action->isSeparator() && action->data().toUInt() == id) {
            return action;
        }
    }
    return nullptr;
}

std::vector<win32test::MenuItem> menuItemsOf(HMENU handle) {
    std::vector<win32test::MenuItem> items;
    const Menu* menu = menus().find(handle);
    if (!menu) {
        return items;
    }
    for (const MenuEntry& entry : menu->entries) {
        items.push_back(win32test::MenuItem{entry.popup ? 0 : entry.id, entry.text,
                                            (entry.flags & MF_SEPARATOR) != 0,
                                            entry.popup != nullptr, (entry.flags & MF_CHECKED) != 0,
                                            (entry.flags & (MF_GRAYED | MF_DISABLED)) != 0});
    }
    return items;
}

}  // namespace platform

using namespace platform;

HMENU WINAPI CreateMenu(void) {
    return menus().add(std::make_unique<Menu>());
}

HMENU WINAPI CreatePopupMenu(void) {
    return menus().add(std::make_unique<Menu>());
}

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR idOrPopup, LPCSTR text) {
    Menu* menu = menus().find(handle);
    if (!menu) {
        return FALSE;
    }
    MenuEntry entry;
    entry.flags = flags & stateFlags;
    if (flags & MF_POPUP) {
        if (!menus().find(reinterpret_cast<HMENU>(idOrPopup))) {
            return FALSE;
        }
        entry.popup = reinterpret_cast<HMENU>(idOrPopup);
    } else {
        entry.id = static_cast<UINT>(idOrPopup);
    }
    if (!(flags & MF_SEPARATOR) && text) {
        entry.text = text;
    }
    menu->entries.push_back(std::move(entry));
    menuChanged(handle);
    return TRUE;
}

namespace platform {

bool removeMenuItem(HMENU handle, UINT position) {
    const Found found = findItem(handle, position, MF_BYPOSITION);
    if (!found.menu) {
        return false;
    }
    found.menu->entries.erase(found.menu->entries.begin() +
                              static_cast<std::ptrdiff_t>(found.index));
    menuChanged(found.handle);
    return true;
}

}  // namespace platform

BOOL WINAPI DestroyMenu(HMENU handle) {
    std::unique_ptr<Menu> menu = menus().remove(handle);
    if (!menu) {
        return FALSE;
    }
    for (const MenuEntry& entry : menu->entries) {
        if (entry.popup) {
            DestroyMenu(entry.popup);
        }
    }
    return TRUE;
}

HMENU WINAPI LoadMenuA(HINSTANCE, LPCSTR name) {
    const auto* menuTemplate = findMenuTemplate(name);
    if (!menuTemplate) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return buildFromTemplate(menuTemplate->items, CreateMenu());
}

HMENU WINAPI GetMenu(HWND handle) {
    const Window* window = findWindow(handle);
    return window && !window->isChild() ? window->menu : nullptr;
}

HMENU WINAPI GetSubMenu(HMENU handle, int position) {
    const Menu* menu = menus().find(handle);
    if (!menu || position < 0 || static_cast<std::size_t>(position) >= menu->entries.size()) {
        return nullptr;
    }
    return menu->entries[static_cast<std::size_t>(position)].popup;
}

int WINAPI GetMenuItemCount(HMENU handle) {
    const Menu* menu = menus().find(handle);
    return menu ? static_cast<int>(menu->entries.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU handle, int position) {
    const Menu* menu = menus().find(handle);
    if (!menu || position < 0 || static_cast<std::size_t>(position) >= menu->entries.size()) {
        return UINT(-1);
    }
    const MenuEntry& entry = menu->entries[static_cast<std::size_t>(position)];
    return entry.popup ? UINT(-1) : entry.id;
}

DWORD WINAPI CheckMenuItem(HMENU handle, UINT item, UINT flags) {
    const Found found = findItem(handle, item, flags);
    if (!found.menu) {
        return DWORD(-1);
    }
    MenuEntry& entry = found.menu->entries[found.index];
    const DWORD previous = entry.flags & MF_CHECKED;
    entry.flags = (entry.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    menuChanged(found.handle);
    return previous;
}

UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags) {
    const Found found = findItem(handle, item, flags);
    if (!found.menu) {
        return UINT(-1);
    }
    const MenuEntry& entry = found.menu->entries[found.index];
    if (entry.popup) {
        const int count = GetMenuItemCount(entry.popup);
        return (static_cast<UINT>(count) << 8) | (entry.flags & 0xFF) | MF_POPUP;
    }
    return entry.flags;
}

int WINAPI GetMenuStringA(HMENU handle, UINT item, LPSTR buffer, int capacity, UINT flags) {
    const Found found = findItem(handle, item, flags);
    if (!found.menu) {
        return 0;
    }
    const std::string& text = found.menu->entries[found.index].text;
    if (!buffer || capacity <= 0) {
        return static_cast<int>(text.size());
    }
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
    text.copy(buffer, length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}
