// Clicks anywhere in a document window activate it, and Ctrl+F4 and Ctrl+F6
// close it and move to the next one: what TranslateMDISysAccel and the
// system's mouse activation do on Win32.
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

#include "controls/mdi_client.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

class DocumentInput : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress;
        const bool key = event->type() == QEvent::KeyPress;
        if (!(press || key) || !watched->isWidgetType()) {
            return QObject::eventFilter(watched, event);
        }
        const HWND document = documentOf(static_cast<QWidget*>(watched));
        if (!document) {
            return QObject::eventFilter(watched, event);
        }
        const Window* window = findWindow(document);
        if (press) {
            SendMessageA(window->parent, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(document), 0);
            focusClickedControl(static_cast<QWidget*>(watched));
            return false;
        }
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->modifiers() != Qt::ControlModifier) {
            return false;
        }
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
                if (const Window* control = windowOfWidget(widget)) {
                    SetFocus(control->handle);
                }
                return;
            }
            if (dynamic_cast<const WindowWidget*>(widget)) {
                return;
            }
        }
    }

    static HWND documentOf(const QWidget* widget) {
        for (const Window* window = windowOfWidget(widget); window;
             window = findWindow(window->parent)) {
            if (isDocument(*window)) {
                return window->handle;
            }
        }
        return nullptr;
    }
};

}  // namespace

void watchDocumentInput() {
    static DocumentInput* filter = nullptr;
    if (filter || !QCoreApplication::instance()) {
        return;
    }
    filter = new DocumentInput;
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

}  // namespace platform
