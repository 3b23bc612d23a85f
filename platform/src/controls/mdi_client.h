// The "MDICLIENT" control's state, shared by the files that carry out its
// parts: the client's procedure, the document shapes, tiling and cascading, the
// documents' input and the default procedures of frames and documents.
#ifndef ZARN_PLATFORM_MDI_CLIENT_H
#define ZARN_PLATFORM_MDI_CLIENT_H

#include <windows.h>

#include <QRect>
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "windows/window.h"

namespace platform {

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

MdiClient* clientOf(HWND handle);
bool isDocument(const Window& window);

inline bool contains(const std::vector<HWND>& list, HWND handle) {
    return std::find(list.begin(), list.end(), handle) != list.end();
}

// The client's side: activation and the window menu.
void activate(HWND clientHandle, HWND child);
void refreshWindowMenu(MdiClient& client);

// Minimised, normal and maximised documents.
bool isMinimized(HWND handle);
void changeShape(HWND clientHandle, HWND child, Shape target);
void showMdiChild(HWND clientHandle, HWND child, int command);
void fillClient(HWND clientHandle, HWND child);
int arrangeMinimized(HWND clientHandle);
void showMaximizedOnFrame(HWND clientHandle);

// Tiling and cascading.
QRect cascadeRect(const QSize& area, int index);
void tile(HWND clientHandle, WPARAM how);
void cascade(HWND clientHandle);

// Clicks and Ctrl+F4, Ctrl+F6 in documents, watched from the first document on.
void watchDocumentInput();

}  // namespace platform

#endif
