// Menus: the model behind HMENU, and its Qt form (a menu bar on a top-level
// window, popups built from the model each time they open).
#ifndef ZARN_PLATFORM_MENUS_H
#define ZARN_PLATFORM_MENUS_H

#include <win32_test.h>
#include <windows.h>

#include <vector>

class QAction;

namespace platform {

struct Window;

void attachMenuBar(Window& window, HMENU menu);
// RemoveMenu by position: the item goes, its popup stays.
bool removeMenuItem(HMENU menu, UINT position);
// The action that a click on the item with this command id would trigger,
// searched through the whole menu; null when there is none.
QAction* findMenuAction(HMENU menu, UINT id);
std::vector<win32test::MenuItem> menuItemsOf(HMENU menu);

}  // namespace platform

#endif
