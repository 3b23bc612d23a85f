// The test mode's simulated input: keys, clicks, menu commands and the
// answers that modal dialogs take, sent to the real widgets.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <map>

#include "controls/control_test_access.h"
#include "test_mode/test_mode.h"
#include "windows/caption_buttons.h"
#include "windows/maximized_controls.h"
#include "windows/menus.h"
#include "windows/message_queue.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

bool sendKey(HWND handle, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Window* window = findWindow(handle);
    if (!window) {
        return false;
    }
    QWidget* focus = window->widget->focusWidget();
    QWidget* target = focus && window->widget->isAncestorOf(focus) ? focus : window->client;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
    return true;
}

int qtKey(UINT virtualKey) {
    static const std::map<UINT, int> keys = {
        {VK_RETURN, Qt::Key_Return}, {VK_ESCAPE, Qt::Key_Escape}, {VK_TAB, Qt::Key_Tab},
        {VK_F4, Qt::Key_F4},         {VK_F6, Qt::Key_F6},         {VK_LEFT, Qt::Key_Left},
        {VK_RIGHT, Qt::Key_Right},   {VK_UP, Qt::Key_Up},         {VK_DOWN, Qt::Key_Down},
        {VK_HOME, Qt::Key_Home},     {VK_END, Qt::Key_End},       {VK_PRIOR, Qt::Key_PageUp},
        {VK_NEXT, Qt::Key_PageDown}, {VK_DELETE, Qt::Key_Delete}, {VK_BACK, Qt::Key_Backspace},
        {VK_SPACE, Qt::Key_Space},
    };
    const auto found = keys.find(virtualKey);
    return found == keys.end() ? 0 : found->second;
}

QPushButton* defaultButton(HWND dialog) {
    const Window* window = findWindow(dialog);
    if (!window) {
        return nullptr;
    }
    QPushButton* okButton = nullptr;
    for (HWND child : window->children) {
        const Window* control = findWindow(child);
        auto* button = control ? dynamic_cast<QPushButton*>(control->client) : nullptr;
        if (!button) {
            continue;
        }
        if (button->isDefault()) {
            return button;
        }
        if (control->id == IDOK) {
            okButton = button;
        }
    }
    return okButton;
}

std::function<void(HWND)> scriptFor(win32test::DialogAnswer answer) {
    switch (answer) {
        case win32test::DialogAnswer::Ok:
            return [](HWND dialog) {
                if (QPushButton* button = defaultButton(dialog)) {
                    button->click();
                } else {
                    failTest("the dialog has no default button to click");
                }
            };
        case win32test::DialogAnswer::Enter:
            return [](HWND dialog) { sendKey(dialog, Qt::Key_Return); };
        case win32test::DialogAnswer::Escape:
            return [](HWND dialog) { sendKey(dialog, Qt::Key_Escape); };
        case win32test::DialogAnswer::CloseBox:
            return [](HWND dialog) { win32test::clickCloseBox(dialog); };
    }
    return {};
}

// A click with the left button as the user's mouse makes it; a double click
// is a click, then a second press reported as a double click, and a release.
void sendClick(QWidget* widget, QPoint at, bool doubleClick) {
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (!doubleClick) {
        return;
    }
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

}  // namespace

}  // namespace platform

using namespace platform;

namespace win32test {

void answerNextDialogWith(DialogAnswer answer) {
    queueDialogScript(scriptFor(answer));
}

bool pressKey(HWND window, UINT virtualKey, bool control) {
    const int key = qtKey(virtualKey);
    if (!key || !sendKey(window, key, control ? Qt::ControlModifier : Qt::NoModifier)) {
        return false;
    }
    dispatchPendingMessages();
    return true;
}

bool typeText(HWND edit, const std::string& text) {
    const Window* window = findWindow(edit);
    auto* target = window ? dynamic_cast<TypingTarget*>(window->control.get()) : nullptr;
    const bool typed = target && target->type(text);
    dispatchPendingMessages();
    return typed;
}

bool clickTab(HWND tabControl, int index) {
    const Window* window = findWindow(tabControl);
    auto* tabs = window ? dynamic_cast<TabClickTarget*>(window->control.get()) : nullptr;
    const bool clicked = tabs && tabs->clickTab(index);
    dispatchPendingMessages();
    return clicked;
}

bool chooseMenuCommand(HWND handle, UINT id) {
    const Window* window = findWindow(handle);
    if (!window || !window->menu) {
        return false;
    }
    QAction* action = findMenuAction(window->menu, id);
    if (!action || !action->isEnabled()) {
        return false;
    }
    action->trigger();
    dispatchPendingMessages();
    return true;
}

bool clickCloseBox(HWND handle) {
    Window* window = findWindow(handle);
    if (!window) {
        return false;
    }
    if (window->isChild()) {
        return clickCaptionButton(handle, CaptionButton::Close);
    }
    window->widget->close();
    dispatchPendingMessages();
    return true;
}

bool clickCaptionButton(HWND handle, CaptionButton button) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle)) {
        return false;
    }
    std::optional<std::pair<QWidget*, QPoint>> target;
    if (window->style & WS_MAXIMIZE) {
        target = maximizedButtonPosition(GetParent(window->parent), handle, button);
    } else {
        for (const auto& [kind, box] : window->widget->captionButtons()) {
            if (kind == button) {
                target = std::make_pair(static_cast<QWidget*>(window->widget), box.center());
            }
        }
    }
    if (!target) {
        return false;
    }
    sendClick(target->first, target->second, false);
    dispatchPendingMessages();
    return true;
}

bool doubleClickCaption(HWND handle) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle) || (window->style & WS_MAXIMIZE)) {
        return false;
    }
    const QRect title = window->widget->titleRect();
    if (title.isEmpty()) {
        return false;
    }
    sendClick(window->widget, title.center(), true);
    dispatchPendingMessages();
    return true;
}

bool resizeClient(HWND handle, int width, int height) {
    Window* window = findWindow(handle);
    if (!window) {
        return false;
    }
    const QMargins margins = window->widget->nonClientMargins();
    window->widget->resize(width + margins.left() + margins.right(),
                           height + margins.top() + margins.bottom());
    layoutWindow(*window);
    reportGeometry(handle);
    dispatchPendingMessages();
    return true;
}

bool clickAt(HWND handle, int x, int y) {
    const Window* window = findWindow(handle);
    if (!window) {
        return false;
    }
    QWidget* target = window->client->childAt(x, y);
    if (!target) {
        target = window->client;
    }
    const QPointF at = target->mapFrom(window->client, QPoint(x, y));
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    dispatchPendingMessages();
    return true;
}

}  // namespace win32test
