// GetOpenFileNameA and GetSaveFileNameA over QFileDialog, run in the
// stand-in's own modal loop so that timers go on behind them.
#include <commdlg.h>
#include <sys/stat.h>

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <algorithm>
#include <map>

#include "ansi_text.h"
#include "test_mode/test_mode.h"
#include "windows/message_queue.h"
#include "windows/window.h"
#include "windows/window_widget.h"

namespace platform {
namespace {

constexpr DWORD bufferTooSmall = 0x3003;  // FNERR_BUFFERTOOSMALL
DWORD lastDialogError = 0;

std::vector<std::string> filterStrings(LPCSTR filter) {
    std::vector<std::string> strings;
    for (const char* each = filter; each && *each; each += std::strlen(each) + 1) {
        strings.emplace_back(each);
    }
    return strings;
}

// "Text files", "*.txt" becomes "Text files (*.txt)"; "*.*" matches every file.
QStringList qtFilters(const std::vector<std::string>& strings) {
    QStringList filters;
    for (std::size_t i = 0; i + 1 < strings.size(); i += 2) {
        QString patterns = fromAnsi(strings[i + 1]);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        patterns.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        filters << fromAnsi(strings[i]) + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

std::size_t nameStart(const std::string& path) {
    return path.find_last_of('/') + 1;
}

std::string withDefaultExtension(std::string path, LPCSTR extension) {
    if (extension && *extension && path.find('.', nameStart(path)) == std::string::npos) {
        path += std::string(".") + extension;
    }
    return path;
}

// What a real dialog says, staying open, when a chosen path fails its flags.
// The path is asked of the disk as the bytes it is.
const char* refusal(const std::string& path, DWORD flags) {
    const std::size_t name = nameStart(path);
    const std::string folder = name == 0 ? "." : name == 1 ? "/" : path.substr(0, name - 1);
    struct stat status {};
    if ((flags & OFN_PATHMUSTEXIST) &&
        (::stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))) {
        return "Path does not exist.";
    }
    if ((flags & OFN_FILEMUSTEXIST) && ::stat(path.c_str(), &status) != 0) {
        return "File not found.";
    }
    return nullptr;
}

// Win32 fails when the path or the bare name does not fit its buffer, and then
// leaves the size that the path needs in the first two bytes of lpstrFile.
BOOL giveBack(OPENFILENAMEA& dialog, const std::string& chosen) {
    const std::string path = withDefaultExtension(chosen, dialog.lpstrDefExt);
    const std::size_t name = nameStart(path);
    const bool pathFits = dialog.lpstrFile && path.size() + 1 <= dialog.nMaxFile;
    const bool titleFits = !dialog.lpstrFileTitle || path.size() - name + 1 <= dialog.nMaxFileTitle;
    if (!pathFits || !titleFits) {
        lastDialogError = bufferTooSmall;
        if (!pathFits && dialog.lpstrFile && dialog.nMaxFile >= sizeof(WORD)) {
            const WORD needed = static_cast<WORD>(std::min<std::size_t>(path.size() + 1, 0xFFFF));
            std::memcpy(dialog.lpstrFile, &needed, sizeof needed);
        }
        return FALSE;
    }
    std::memcpy(dialog.lpstrFile, path.c_str(), path.size() + 1);
    const std::size_t dot =
        path.find('.', name) == std::string::npos ? std::string::npos : path.rfind('.');
    dialog.nFileOffset = static_cast<WORD>(name);
    dialog.nFileExtension = static_cast<WORD>(dot == std::string::npos ? 0 : dot + 1);
    if (dialog.lpstrFileTitle) {
        std::memcpy(dialog.lpstrFileTitle, path.c_str() + name, path.size() - name + 1);
    }
    return TRUE;
}

// Qt's own dialog does not look for the folder of a typed name; this one stays
// open and says so, as Win32's does.
class FileChooser : public QFileDialog {
public:
    FileChooser(QWidget* parent, const QString& caption, DWORD flags)
        : QFileDialog(parent, caption), flags(flags) {}

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (const char* problem =
                chosen.isEmpty() ? nullptr : refusal(toAnsi(chosen.first()), flags)) {
            QMessageBox box(QMessageBox::Warning, windowTitle(),
                            chosen.first() + QLatin1Char('\n') + problem, QMessageBox::Ok, this);
            runQtDialog(box);
            return;
        }
        QFileDialog::accept();
    }

private:
    DWORD flags;
};

// The open dialog has a hidden window of its own, titled like it, with the name
// box (cmb13) as its child: a program finds it with FindWindowA, types a name
// with SetWindowTextA and presses OK or Cancel with WM_COMMAND, as with Win32's.
constexpr const char* dialogWindowClass = "FileDialogWindow";
constexpr int nameBoxId = 0x47c;
std::map<HWND, FileChooser*> openChoosers;

LRESULT CALLBACK dialogWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto open = openChoosers.find(handle);
    if (message != WM_COMMAND || open == openChoosers.end()) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    if (LOWORD(wParam) == IDCANCEL) {
        open->second->reject();
    } else if (LOWORD(wParam) == IDOK) {
        HWND nameBox = GetDlgItem(handle, nameBoxId);
        std::string name(static_cast<std::size_t>(GetWindowTextLengthA(nameBox)) + 1, '\0');
        name.resize(static_cast<std::size_t>(
            GetWindowTextA(nameBox, name.data(), static_cast<int>(name.size()))));
        // Into the name box, as typed: selectFile would not take a name that
        // does not exist yet.
        if (auto* nameEdit = open->second->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
            nameEdit->setText(fromAnsi(name));
        }
        open->second->accept();
    }
    return 0;
}

HWND createDialogWindow(HWND owner, const QString& caption) {
    WNDCLASSA dialogClass{};
    dialogClass.lpfnWndProc = dialogWindowProc;
    dialogClass.lpszClassName = dialogWindowClass;
    RegisterClassA(&dialogClass);
    const HWND window = CreateWindowExA(0, dialogWindowClass, toAnsi(caption).c_str(), WS_POPUP, 0,
                                        0, 0, 0, owner, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(nameBoxId)), nullptr, nullptr);
    return window;
}

std::optional<std::string> chooseFileWithQt(const OPENFILENAMEA& dialog, bool save) {
    const Window* owner = findWindow(dialog.hwndOwner);
    const QString initial = dialog.lpstrFile ? fromAnsi(dialog.lpstrFile) : QString();
    FileChooser chooser(
        owner ? owner->widget->window() : nullptr,
        dialog.lpstrTitle ? fromAnsi(dialog.lpstrTitle) : QString(save ? "Save As" : "Open"),
        dialog.Flags);
    if (dialog.lpstrInitialDir) {
        chooser.setDirectory(fromAnsi(dialog.lpstrInitialDir));
    }
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(dialog.Flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile
                                                         : QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & OFN_OVERWRITEPROMPT));
    const QStringList filters = qtFilters(filterStrings(dialog.lpstrFilter));
    chooser.setNameFilters(filters);
    const int selected = dialog.nFilterIndex > 0 ? static_cast<int>(dialog.nFilterIndex) - 1 : 0;
    if (selected < filters.size()) {
        chooser.selectNameFilter(filters[selected]);
    }
    if (dialog.lpstrDefExt) {
        chooser.setDefaultSuffix(fromAnsi(dialog.lpstrDefExt));
    }
    if (!initial.isEmpty()) {
        chooser.selectFile(initial);
    }
    chooser.setWindowModality(Qt::ApplicationModal);
    const HWND dialogWindow = createDialogWindow(dialog.hwndOwner, chooser.windowTitle());
    openChoosers[dialogWindow] = &chooser;
    runQtDialog(chooser);
    openChoosers.erase(dialogWindow);
    DestroyWindow(dialogWindow);
    if (chooser.result() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return toAnsi(chooser.selectedFiles().first());
}

std::optional<std::string> scriptedAnswer(const OPENFILENAMEA& dialog, bool save) {
    const std::string title = dialog.lpstrTitle ? dialog.lpstrTitle : (save ? "Save As" : "Open");
    recordFileDialog({dialog.hwndOwner, save, title, dialog.lpstrFile ? dialog.lpstrFile : "",
                      filterStrings(dialog.lpstrFilter), dialog.Flags,
                      dialog.lpstrDefExt ? dialog.lpstrDefExt : "", dialog.lStructSize,
                      dialog.hInstance, dialog.nFilterIndex, dialog.nMaxFile,
                      dialog.lpstrFileTitle ? dialog.nMaxFileTitle : 0});
    for (;;) {
        const std::optional<FileDialogAnswer> answer = takeFileDialogAnswer();
        if (!answer) {
            failTest("the file dialog \"" + title + "\" opened with no scripted answer");
        }
        if (answer->whileOpen) {
            answer->whileOpen();
        }
        if (!answer->path) {
            return std::nullopt;
        }
        // A folder's name opens the folder in the dialog rather than closing it.
        if (QFileInfo(fromAnsi(*answer->path)).isDir()) {
            continue;
        }
        const std::string path = withDefaultExtension(*answer->path, dialog.lpstrDefExt);
        if (!refusal(path, dialog.Flags)) {
            return path;
        }
    }
}

BOOL runFileDialog(LPOPENFILENAMEA dialog, bool save) {
    lastDialogError = 0;
    if (!dialog || (dialog->hwndOwner && !findWindow(dialog->hwndOwner))) {
        return FALSE;
    }
    // The two sizes Win32 knows; any other is refused before a dialog opens.
    if (dialog->lStructSize != OPENFILENAME_SIZE_VERSION_400A &&
        dialog->lStructSize != sizeof(OPENFILENAMEA)) {
        lastDialogError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    const std::optional<std::string> chosen =
        testMode() ? scriptedAnswer(*dialog, save) : chooseFileWithQt(*dialog, save);
    return chosen ? giveBack(*dialog, *chosen) : FALSE;
}

}  // namespace
}  // namespace platform

using namespace platform;

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA dialog) {
    return runFileDialog(dialog, false);
}

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA dialog) {
    return runFileDialog(dialog, true);
}

DWORD WINAPI CommDlgExtendedError(void) {
    return lastDialogError;
}
