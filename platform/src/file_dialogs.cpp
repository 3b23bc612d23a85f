// GetOpenFileNameA and GetSaveFileNameA over QFileDialog, run in the
// stand-in's own modal loop so that timers go on behind them.
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include <commdlg.h>

#include "ansi_text.h"
#include "message_queue.h"
#include "test_mode.h"
#include "window.h"
#include "window_widget.h"

namespace platform {
namespace {

constexpr DWORD kBufferTooSmall = 0x3003;  // FNERR_BUFFERTOOSMALL
DWORD lastDialogError = 0;

std::vector<std::string> filterStrings(LPCSTR filter) {
    std::vector<std::string> strings;
    for (const char* each = filter; each && *each; each += std::strlen(each) + 1) strings.emplace_back(each);
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

std::string withDefaultExtension(std::string path, LPCSTR extension) {
    const std::size_t name = path.find_last_of('/') + 1;
    if (extension && *extension && path.find('.', name) == std::string::npos) path += std::string(".") + extension;
    return path;
}

BOOL giveBack(OPENFILENAMEA& dialog, const std::string& chosen) {
    const std::string path = withDefaultExtension(chosen, dialog.lpstrDefExt);
    if (!dialog.lpstrFile || path.size() + 1 > dialog.nMaxFile) {
        lastDialogError = kBufferTooSmall;
        return FALSE;
    }
    std::memcpy(dialog.lpstrFile, path.c_str(), path.size() + 1);
    const std::size_t name = path.find_last_of('/') + 1;
    const std::size_t dot = path.find('.', name) == std::string::npos ? std::string::npos : path.rfind('.');
    dialog.nFileOffset = static_cast<WORD>(name);
    dialog.nFileExtension = static_cast<WORD>(dot == std::string::npos ? 0 : dot + 1);
    if (dialog.lpstrFileTitle && dialog.nMaxFileTitle > 0) {
        lstrcpynA(dialog.lpstrFileTitle, path.c_str() + name, static_cast<int>(dialog.nMaxFileTitle));
    }
    return TRUE;
}

std::optional<std::string> chooseFileWithQt(const OPENFILENAMEA& dialog, bool save) {
    const Window* owner = findWindow(dialog.hwndOwner);
    const QString initial = dialog.lpstrFile ? fromAnsi(dialog.lpstrFile) : QString();
    QFileDialog chooser(owner ? owner->widget->window() : nullptr,
                        dialog.lpstrTitle ? fromAnsi(dialog.lpstrTitle) : QString(save ? "Save As" : "Open"),
                        dialog.lpstrInitialDir ? fromAnsi(dialog.lpstrInitialDir) : QString());
    chooser.setOption(QFileDialog::DontUseNativeDialog);
    chooser.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    chooser.setFileMode(dialog.Flags & OFN_FILEMUSTEXIST ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    chooser.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & OFN_OVERWRITEPROMPT));
    const QStringList filters = qtFilters(filterStrings(dialog.lpstrFilter));
    chooser.setNameFilters(filters);
    const int selected = dialog.nFilterIndex > 0 ? static_cast<int>(dialog.nFilterIndex) - 1 : 0;
    if (selected < filters.size()) chooser.selectNameFilter(filters[selected]);
    if (dialog.lpstrDefExt) chooser.setDefaultSuffix(fromAnsi(dialog.lpstrDefExt));
    if (!initial.isEmpty()) chooser.selectFile(initial);
    chooser.setWindowModality(Qt::ApplicationModal);
    runQtDialog(chooser);
    if (chooser.result() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) return std::nullopt;
    return toAnsi(chooser.selectedFiles().first());
}

std::optional<std::string> scriptedAnswer(const OPENFILENAMEA& dialog, bool save) {
    const std::string title = dialog.lpstrTitle ? dialog.lpstrTitle : (save ? "Save As" : "Open");
    recordFileDialog({dialog.hwndOwner, save, title, dialog.lpstrFile ? dialog.lpstrFile : "",
                      filterStrings(dialog.lpstrFilter), dialog.Flags, dialog.lpstrDefExt ? dialog.lpstrDefExt : ""});
    for (;;) {
        const std::optional<std::optional<std::string>> answer = takeFileDialogAnswer();
        if (!answer) failTest("the file dialog \"" + title + "\" opened with no scripted answer");
        if (!*answer) return std::nullopt;
        const std::string path = withDefaultExtension(**answer, dialog.lpstrDefExt);
        if (!(dialog.Flags & OFN_FILEMUSTEXIST) || QFileInfo::exists(fromAnsi(path))) return **answer;
    }
}

BOOL runFileDialog(LPOPENFILENAMEA dialog, bool save) {
    lastDialogError = 0;
    if (!dialog || (dialog->hwndOwner && !findWindow(dialog->hwndOwner))) return FALSE;
    const std::optional<std::string> chosen = testMode() ? scriptedAnswer(*dialog, save) : chooseFileWithQt(*dialog, save);
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
