// Window classes and windows: the records behind HWND, the class registry and
// the helpers that every part of the stand-in uses to reach them.
#ifndef ZARN_PLATFORM_WINDOW_H
#define ZARN_PLATFORM_WINDOW_H

#include <windows.h>

#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace platform {

class WindowWidget;
struct Window;

// What a predefined class keeps on each of its windows, with the hooks the
// window tree calls.
struct ControlState {
    virtual ~ControlState();
    // The outer widget was laid out: place the client area inside `content`.
    virtual void layout(Window&) {}
    virtual void textChanged(Window&) {}
    // WM_SETFONT reached the default procedure: window.font is the new font.
    virtual void fontChanged(Window&) {}

    // A control that manages some of its children (keeps them in a list,
    // places and activates them) hears about them here: which children are its own, by their
    // extended style; where one created with CW_USEDEFAULT goes; its creation,
    // destruction, new text, and ShowWindow commands while it is shown.
    virtual bool managesChild(DWORD /*exStyle*/) const { return false; }
    virtual QRect defaultChildRect(Window&) { return {}; }
    virtual void childCreated(Window&, HWND /*child*/) {}
    virtual void childDestroyed(Window&, HWND /*child*/) {}
    virtual void childTextChanged(Window&, HWND /*child*/) {}
    virtual void childShown(Window&, HWND /*child*/, int /*command*/) {}
};

// Builds the Qt side of a predefined class's window: sets window.client (and
// window.control when the class keeps state), with `content` as Qt parent.
using WidgetFactory = void (*)(Window& window, QWidget* content);

struct WindowClass {
    std::string name;
    WNDPROC procedure = nullptr;
    UINT style = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    LPCSTR menuName = nullptr;  // an integer resource id or a pointer into menuNameText
    std::string menuNameText;
    WidgetFactory createWidget = nullptr;
    bool predefined = false;
};

struct Window {
    HWND handle = nullptr;
    std::shared_ptr<const WindowClass> windowClass;
    WNDPROC procedure = nullptr;
    HWND parent = nullptr;  // the parent of a child, or the owner of a top-level window
    std::vector<HWND> children;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    HINSTANCE instance = nullptr;
    HMENU menu = nullptr;  // menu bar of a top-level window
    std::string text;
    HFONT font = nullptr;
    WindowWidget* widget = nullptr;  // the whole window, non-client area included
    QWidget* content = nullptr;      // the area inside the non-client frame
    QWidget* client = nullptr;       // the client area: children live here
    std::unique_ptr<ControlState> control;
    QSize reportedClientSize{-1, -1};
    WPARAM reportedSizeType = SIZE_RESTORED;
    QPoint reportedPosition{-1000000, -1000000};
    bool destroying = false;

    bool isChild() const { return (style & WS_CHILD) != 0; }
};

Window* findWindow(HWND handle);
Window* windowOfWidget(const QWidget* widget);
std::vector<HWND> allWindows();

HWND addWindow(std::unique_ptr<Window> window);
std::unique_ptr<Window> removeWindow(HWND handle);

std::shared_ptr<const WindowClass> findClass(const char* name, HINSTANCE instance);
bool addClass(std::shared_ptr<WindowClass> windowClass);
bool removeClass(const char* name);
// The parent of `window` if the parent's control manages it, else null.
Window* managingParent(const Window& window);
void registerPredefinedClass(const char* name, WNDPROC procedure, WidgetFactory factory,
                             HBRUSH background);
void unregisterApplicationClasses();

// The client area of a window, in its own coordinates (origin 0,0).
QSize clientSize(const Window& window);
// The outer rectangle of a window in its parent's client coordinates (screen
// coordinates for top-level windows).
QRect windowRectangle(const Window& window);
// Calls the window procedure; 0 for a null or stale handle.
LRESULT sendMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
// Sends WM_SIZE and WM_MOVE when the client size (or the minimised or
// maximised state) or the position changed since the last report.
void reportGeometry(HWND handle);
// Places the window's client area inside its frame again.
void layoutWindow(Window& window);
// EnableWindow: WM_ENABLE when the state changes.
void enableWindow(HWND handle, bool enable);
void setWindowText(Window& window, std::string text);
HINSTANCE moduleInstance();
// The window that has the keyboard focus, as SetFocus and GetFocus see it.
HWND& focusedWindow();

}  // namespace platform

#endif
