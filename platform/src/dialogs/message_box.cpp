// MessageBoxA over QMessageBox, run in the stand-in's own modal loop so that
// timers go on behind it.
#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <map>

#include "ansi_text.h"
#include "test_mode/test_mode.h"
#include "windows/message_queue.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {
namespace {

constexpr UINT buttonsMask = 0x0000000F;
constexpr UINT iconMask = 0x000000F0;

QMessageBox::StandardButtons buttonsOf(UINT type) {
    switch (type & buttonsMask) {
        case MB_OKCANCEL:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_ABORTRETRYIGNORE:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        case MB_YESNOCANCEL:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO:
            return QMessageBox::Yes | QMessageBox::No;
        case MB_RETRYCANCEL:
            return QMessageBox::Retry | QMessageBox::Cancel;
        default:
            return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconOf(UINT type) {
    switch (type & iconMask) {
        case MB_ICONHAND:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONASTERISK:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int idOf(QMessageBox::StandardButton button) {
    static const std::map<QMessageBox::StandardButton, int> ids = {
        {QMessageBox::Ok, IDOK},         {QMessageBox::Cancel, IDCANCEL},
        {QMessageBox::Abort, IDABORT},   {QMessageBox::Retry, IDRETRY},
        {QMessageBox::Ignore, IDIGNORE}, {QMessageBox::Yes, IDYES},
        {QMessageBox::No, IDNO},
    };
    const auto found = ids.find(button);
    return found == ids.end() ? IDCANCEL : found->second;
}

// The open box has a hidden window of its own, titled with its caption, so
// that a program finds it with FindWindowA and presses a button by sending
// WM_COMMAND with the button's id, as with Win32's box.
constexpr const char* boxWindowClass = "MessageBoxWindow";
std::map<HWND, QMessageBox*> openBoxes;

LRESULT CALLBACK boxWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto open = openBoxes.find(handle);
    if (message != WM_COMMAND || open == openBoxes.end()) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    for (QAbstractButton* button : open->second->buttons()) {
        if (idOf(open->second->standardButton(button)) == LOWORD(wParam)) {
            button->click();
        }
    }
    return 0;
}

HWND createBoxWindow(HWND owner, const std::string& caption) {
    WNDCLASSA boxClass{};
    boxClass.lpfnWndProc = boxWindowProc;
    boxClass.lpszClassName = boxWindowClass;
    RegisterClassA(&boxClass);
    return CreateWindowExA(0, boxWindowClass, caption.c_str(), WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                           nullptr, nullptr);
}

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    const Window* ownerWindow = findWindow(owner);
    QMessageBox box(iconOf(type), fromAnsi(caption), fromAnsi(text), buttonsOf(type),
                    ownerWindow ? ownerWindow->widget->window() : nullptr);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    const HWND boxWindow = createBoxWindow(owner, caption);
    openBoxes[boxWindow] = &box;
    runQtDialog(box);
    openBoxes.erase(boxWindow);
    DestroyWindow(boxWindow);
    return idOf(box.standardButton(box.clickedButton()));
}

}  // namespace
}  // namespace platform

using namespace platform;

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (owner && !findWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const std::string shownText = text ? text : "";
    const std::string shownCaption = caption ? caption : "Error";
    if (!testMode()) {
        return showMessageBox(owner, shownText, shownCaption, type);
    }
    recordMessageBox({owner, shownText, shownCaption, type});
    const std::optional<std::function<int()>> answer = takeMessageBoxAnswer();
    if (!answer) {
        failTest("the message box \"" + shownCaption + "\" (\"" + shownText +
                 "\") opened with no scripted answer");
    }
    return (*answer)();
}
