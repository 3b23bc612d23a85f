// The "BUTTON" and "STATIC" controls that dialog templates use.
#include <QLabel>
#include <QPushButton>

#include "ansi_text.h"
#include "gdi/gdi.h"
#include "resources/resources.h"
#include "windows/predefined_classes.h"
#include "windows/window.h"

namespace platform {

namespace {

constexpr DWORD buttonTypeMask = 0xF;
constexpr DWORD staticTypeMask = 0x1F;

// Keeps the control's Qt widget showing the window's text and font.
struct ControlWidget : ControlState {
    QWidget* widget = nullptr;
    void fontChanged(Window& window) override {
        if (window.font) {
            widget->setFont(fontOf(window.font));
        }
    }
    void textChanged(Window& window) override {
        if (auto* button = dynamic_cast<QPushButton*>(widget)) {
            button->setText(fromAnsi(window.text));
        } else if (auto* label = dynamic_cast<QLabel*>(widget);
                   label && (window.style & staticTypeMask) != SS_ICON) {
            label->setText(fromAnsi(window.text));
        }
    }
};

void attach(Window& window, QWidget* widget) {
    auto control = std::make_unique<ControlWidget>();
    control->widget = widget;
    control->textChanged(window);
    window.client = widget;
    window.control = std::move(control);
}

void createButton(Window& window, QWidget* content) {
    auto* button = new QPushButton(content);
    button->setDefault((window.style & buttonTypeMask) == BS_DEFPUSHBUTTON);
    const HWND handle = window.handle;
    QObject::connect(button, &QPushButton::clicked, [handle] {
        const Window* control = findWindow(handle);
        if (!control) {
            return;
        }
        SendMessageA(control->parent, WM_COMMAND, MAKEWPARAM(control->id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(handle));
    });
    attach(window, button);
}

void createStatic(Window& window, QWidget* content) {
    auto* label = new QLabel(content);
    label->setTextFormat(Qt::PlainText);
    switch (window.style & staticTypeMask) {
        case SS_CENTER:
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            break;
        case SS_RIGHT:
            label->setAlignment(Qt::AlignRight | Qt::AlignTop);
            break;
        case SS_ICON: {
            const std::string& name = window.text;
            const LPCSTR resource = !name.empty() && name[0] == '#'
                                        ? MAKEINTRESOURCEA(std::atoi(name.c_str() + 1))
                                        : name.c_str();
            const QIcon icon = iconOf(LoadIconA(window.instance, resource));
            if (!icon.isNull()) {
                label->setPixmap(icon.pixmap(32, 32));
            }
            break;
        }
        default:
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            break;
    }
    attach(window, label);
}

}  // namespace

void registerControlClasses() {
    registerPredefinedClass("BUTTON", DefWindowProcA, createButton, nullptr);
    registerPredefinedClass("STATIC", DefWindowProcA, createStatic, nullptr);
}

}  // namespace platform
