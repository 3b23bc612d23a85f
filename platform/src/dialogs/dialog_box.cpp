// Modal dialogs built from DIALOG templates: DialogBoxParamA, EndDialog and
// the dialog class "#32770" with its default keys (Enter, Escape, close box).
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include "gdi/gdi.h"
#include "resources/resources.h"
#include "test_mode/test_mode.h"
#include "windows/message_queue.h"
#include "windows/predefined_classes.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {

namespace {

// "MS Sans Serif" does not exist off Windows; this face stands in for any
// template font that is not installed.
constexpr const char* fallbackDialogFace = "DejaVu Sans";

struct DialogState : ControlState {
    DLGPROC procedure = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    int defaultId = IDOK;
};

DLGPROC procedureForNextDialog = nullptr;

DialogState* dialogOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<DialogState*>(window->control.get()) : nullptr;
}

void sendDialogCommand(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Enter presses the default button and Escape cancels, wherever the focus is
// inside the dialog.
class DialogKeys : public QObject {
public:
    DialogKeys(HWND dialog, QObject* parent) : QObject(parent), dialog_(dialog) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return QObject::eventFilter(watched, event);
        }
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const LRESULT defaultId = SendMessageA(dialog_, DM_GETDEFID, 0, 0);
            sendDialogCommand(dialog_, HIWORD(defaultId) == DC_HASDEFID ? LOWORD(defaultId) : IDOK);
            return true;
        }
        if (key == Qt::Key_Escape) {
            sendDialogCommand(dialog_, IDCANCEL);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    HWND dialog_;
};

LRESULT CALLBACK dialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* dialog = dialogOf(handle);
    if (!dialog) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    const INT_PTR handled =
        dialog->procedure ? dialog->procedure(handle, message, wParam, lParam) : FALSE;
    if (handled) {
        return message == WM_INITDIALOG ? handled : TRUE;
    }
    dialog = dialogOf(handle);
    if (!dialog) {
        return 0;
    }
    switch (message) {
        case WM_CLOSE:
            PostMessageA(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(handle, IDCANCEL)));
            return 0;
        case DM_GETDEFID:
            return MAKELONG(dialog->defaultId, DC_HASDEFID);
        case WM_INITDIALOG:
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

void createDialog(Window& window, QWidget* content) {
    auto dialog = std::make_unique<DialogState>();
    dialog->procedure = std::exchange(procedureForNextDialog, nullptr);
    window.client = new ClientArea(window.handle, content);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (window.style & WS_SYSMENU) {
        flags |= Qt::WindowCloseButtonHint;
    }
    window.widget->setWindowFlags(flags);
    window.widget->installEventFilter(new DialogKeys(window.handle, window.widget));
    window.control = std::move(dialog);
}

QFont dialogFont(const DialogTemplate& dialog) {
    const QString face = QString::fromLatin1(dialog.fontFace.c_str());
    QFont font(QFontDatabase::families().contains(face) ? face
                                                        : QString::fromLatin1(fallbackDialogFace));
    font.setPointSize(dialog.fontSize > 0 ? dialog.fontSize : 8);
    return font;
}

// Dialog units: a quarter of the average character width across, an eighth of
// the character height down.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const int alphabet = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX = (alphabet / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int x(int units) const { return (units * baseX * 2 + 4) / 8; }
    int y(int units) const { return (units * baseY * 2 + 8) / 16; }
    int baseX;
    int baseY;
};

void runDialog(HWND dialog, const std::string& caption) {
    recordDialogShown(caption);
    if (testMode()) {
        while (dialogOf(dialog) && !dialogOf(dialog)->ended) {
            std::optional<std::function<void(HWND)>> script = takeDialogScript();
            if (!script) {
                failTest("the modal dialog \"" + caption + "\" opened with no scripted answer");
            }
            (*script)(dialog);
            dispatchPendingMessages();
        }
        return;
    }
    runModalLoop([dialog] { return !dialogOf(dialog) || dialogOf(dialog)->ended; });
}

HWND createDialogWindow(const DialogTemplate& dialog, HINSTANCE instance, HWND owner,
                        const DialogUnits& units) {
    QPoint origin(units.x(dialog.x), units.y(dialog.y));
    if (const Window* ownerWindow = findWindow(owner)) {
        origin = ownerWindow->client->mapToGlobal(origin);
    }
    return CreateWindowExA(dialog.exStyle, "#32770", dialog.caption.c_str(),
                           dialog.style & ~WS_VISIBLE, origin.x(), origin.y(),
                           units.x(dialog.width), units.y(dialog.height), owner, nullptr, instance,
                           nullptr);
}

}  // namespace

void registerDialogClasses() {
    registerPredefinedClass("#32770", dialogWindowProc, createDialog,
                            reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

}  // namespace platform

using namespace platform;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC procedure, LPARAM initParam) {
    const DialogTemplate* dialogTemplate = findDialogTemplate(templateName);
    if (!dialogTemplate || (owner && !findWindow(owner))) {
        SetLastError(dialogTemplate ? ERROR_INVALID_WINDOW_HANDLE : ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    const QFont font = dialogFont(*dialogTemplate);
    const DialogUnits units(font);
    procedureForNextDialog = procedure;
    const HWND dialog = createDialogWindow(*dialogTemplate, instance, owner, units);
    procedureForNextDialog = nullptr;
    if (!dialog) {
        return -1;
    }
    Window* window = findWindow(dialog);
    if (const Window* ownerWindow = findWindow(owner)) {
        window->widget->winId();
        ownerWindow->widget->window()->winId();
        window->widget->windowHandle()->setTransientParent(
            ownerWindow->widget->window()->windowHandle());
    }
    window->widget->setWindowModality(Qt::ApplicationModal);
    if (!(dialogTemplate->style & WS_THICKFRAME)) {
        window->widget->setFixedSize(window->widget->size());
    }

    const HFONT fontHandle = createFontHandle(font);
    HWND firstTabStop = nullptr;
    for (const DialogControlTemplate& control : dialogTemplate->controls) {
        const HWND created = CreateWindowExA(
            control.exStyle, control.className.c_str(), control.text.c_str(), control.style,
            units.x(control.x), units.y(control.y), units.x(control.width), units.y(control.height),
            dialog, reinterpret_cast<HMENU>(static_cast<LONG_PTR>(control.id)), instance, nullptr);
        if (!created) {
            continue;
        }
        if (dialogTemplate->style & DS_SETFONT) {
            SendMessageA(created, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle), FALSE);
        }
        if (!firstTabStop && (control.style & WS_TABSTOP)) {
            firstTabStop = created;
        }
        if (control.className == "BUTTON" && (control.style & 0xF) == BS_DEFPUSHBUTTON) {
            if (DialogState* state = dialogOf(dialog)) {
                state->defaultId = control.id;
            }
        }
    }
    if (dialogTemplate->style & DS_SETFONT) {
        SendMessageA(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle), FALSE);
    }
    // The owner is disabled already when WM_INITDIALOG arrives, as on Win32.
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled) {
        enableWindow(owner, false);
    }
    if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), initParam) &&
        firstTabStop) {
        SetFocus(firstTabStop);
    }
    if (findWindow(dialog)) {
        ShowWindow(dialog, SW_SHOW);
        runDialog(dialog, dialogTemplate->caption);
    }
    const DialogState* state = dialogOf(dialog);
    const INT_PTR result = state ? state->result : -1;
    if (ownerWasEnabled) {
        enableWindow(owner, true);
    }
    DestroyWindow(dialog);
    DeleteObject(fontHandle);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    DialogState* state = dialogOf(dialog);
    if (!state) {
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    // Wakes the modal loop, which may be waiting for a message.
    PostMessageA(dialog, WM_NULL, 0, 0);
    return TRUE;
}
