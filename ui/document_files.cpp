#include "ui/document_files.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "ui/file_handle.h"
#include "ui/file_replacement.h"
#include "ui/workbench.h"

namespace {

constexpr char fileFilter[] = "Text files\0*.txt\0All files\0*.*\0";
constexpr DWORD fileTitleCapacity = 200;
constexpr DWORD openFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD saveFlags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr char outputFileName[] = "output.txt";
constexpr DWORD readPiece = 1 << 20;

enum class Outcome { done, failed, readOnly, tooLarge, nameTooLong };

// The dialogs write into these, not into the document's own path, so that a
// cancelled or failed command leaves the document's name as it was.
struct FileChoice {
    char path[filePathSize] = {};
    char title[filePathSize] = {};
};

OPENFILENAMEA fileDialog(HWND document, char* path, char* title, const char* caption, DWORD flags) {
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = document;
    dialog.hInstance = appInstance;
    dialog.lpstrFilter = fileFilter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = path;
    dialog.nMaxFile = filePathSize;
    if (title != nullptr) {
        dialog.lpstrFileTitle = title;
        dialog.nMaxFileTitle = fileTitleCapacity;
    }
    dialog.lpstrTitle = caption;
    dialog.Flags = flags;
    dialog.lpstrDefExt = "txt";
    return dialog;
}

bool fitsFilePath(const char* path) {
    return strnlen(path, filePathSize) < static_cast<std::size_t>(filePathSize);
}

void keepPath(DocumentData& data, const char* path) {
    if (path != data.filePath) {
        std::strcpy(data.filePath, path);
    }
}

void reportFailure(HWND document, const char* action, const char* path, Outcome outcome) {
    std::string text = std::string(action) + "\n" + path;
    switch (outcome) {
        case Outcome::readOnly:
            text += "\nFile is read-only";
            break;
        case Outcome::tooLarge:
            text += "\nFile too large";
            break;
        case Outcome::nameTooLong:
            text += "\nFile name too long";
            break;
        default:
            break;
    }
    MessageBoxA(document, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// The editor shows only CR LF as a line break; files written elsewhere break
// their lines with LF alone, or CR alone.
std::string withCrLfBreaks(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines += "\r\n";
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            lines += text[i];
        }
    }
    return lines;
}

// The text is what comes before the first NUL: a saved file ends with one.
Outcome readText(HANDLE file, std::string& text) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return Outcome::failed;
    }
    if (high != 0 || size == INVALID_FILE_SIZE) {
        return Outcome::tooLarge;
    }
    try {
        text.resize(size);
    } catch (const std::bad_alloc&) {
        return Outcome::tooLarge;
    } catch (const std::length_error&) {
        return Outcome::tooLarge;
    }
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, text.data() + done, std::min(size - done, readPiece), &got, nullptr)) {
            return Outcome::failed;
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    text.resize(std::strlen(text.c_str()));
    return Outcome::done;
}

Outcome readDescription(const char* path, std::string& text) {
    FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.isOpen()) {
        return Outcome::failed;
    }
    std::string bytes;
    const Outcome outcome = readText(file.get(), bytes);
    if (outcome == Outcome::done) {
        text = withCrLfBreaks(bytes);
    }
    return outcome;
}

Outcome writeDescription(const DocumentData& data, const char* path) {
    FileReplacement file(path);
    file.write(editorText(data.editor));
    file.write(std::string_view("", 1));
    if (file.commit()) {
        return Outcome::done;
    }
    return file.targetIsReadOnly() ? Outcome::readOnly : Outcome::failed;
}

std::string listLine(HWND list, int index) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (length < 0) {
        return {};
    }
    std::string line(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(line.data()));
    line.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return line;
}

// One line per step: the states line, a TAB, the tape line, CR LF, written in
// full whatever their length. The count is read once, so that a run going on
// behind does not mix the lines of two steps.
Outcome writeOutput(const DocumentData& data, const char* path) {
    FileReplacement file(path);
    const auto count = static_cast<int>(SendMessageA(data.statesLog, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        file.write(listLine(data.statesLog, index));
        file.write("\t");
        file.write(listLine(data.tapeLog, index));
        file.write("\r\n");
    }
    if (file.commit()) {
        return Outcome::done;
    }
    return file.targetIsReadOnly() ? Outcome::readOnly : Outcome::failed;
}

// What the Open dialog gives for the file: its full path and its bare name.
// The full path keeps naming the file after the current folder changes.
bool chooseByName(HWND document, const char* name, FileChoice& choice) {
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(name, filePathSize, choice.path, &filePart);
    if (length == 0 || length >= static_cast<DWORD>(filePathSize)) {
        reportFailure(document, "Unable to open", name,
                      length == 0 ? Outcome::failed : Outcome::nameTooLong);
        return false;
    }
    std::strcpy(choice.title, filePart != nullptr ? filePart : "");
    return true;
}

}  // namespace

// A document made for File > Open goes away again when no file is chosen or
// the chosen one cannot be loaded. A path given (a file named on the command
// line) is taken as the dialog's choice.
LRESULT onOpen(HWND document, DocumentData& data, const char* path) {
    FileChoice choice;
    bool chosen = false;
    if (path != nullptr) {
        chosen = chooseByName(document, path, choice);
    } else {
        std::strcpy(choice.path, data.filePath);
        OPENFILENAMEA dialog =
            fileDialog(document, choice.path, choice.title, "Open file", openFlags);
        chosen = GetOpenFileNameA(&dialog);
    }
    if (!chosen || !SendMessageA(document, TMM_LOAD, 0, reinterpret_cast<LPARAM>(choice.path))) {
        SendMessageA(mdiClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(document), 0);
        return 0;
    }
    data.hasFileName = 1;
    SetWindowTextA(document, choice.title);
    return 0;
}

// Answers TRUE when the editor holds the file's text; otherwise the editor and
// the document's path are left as they were.
LRESULT onLoad(HWND document, DocumentData& data, const char* path) {
    const char* source = path != nullptr ? path : data.filePath;
    std::string text;
    Outcome outcome = fitsFilePath(source) ? readDescription(source, text) : Outcome::nameTooLong;
    if (outcome == Outcome::done && !SetWindowTextA(data.editor, text.c_str())) {
        outcome = Outcome::tooLarge;
    }
    if (outcome != Outcome::done) {
        reportFailure(document, "Unable to open", source, outcome);
        return FALSE;
    }
    keepPath(data, source);
    return TRUE;
}

LRESULT onSaveAs(HWND document, DocumentData& data) {
    FileChoice choice;
    std::strcpy(choice.path, data.filePath);
    OPENFILENAMEA dialog = fileDialog(document, choice.path, choice.title, "Save file", saveFlags);
    if (!GetSaveFileNameA(&dialog)) {
        return 0;
    }
    // Set first, or the save would ask for a name again.
    const std::int32_t hadFileName = data.hasFileName;
    data.hasFileName = 1;
    if (SendMessageA(document, TMM_SAVE, 0, reinterpret_cast<LPARAM>(choice.path))) {
        SetWindowTextA(document, choice.title);
    } else {
        data.hasFileName = hadFileName;
    }
    return 0;
}

// Answers TRUE when the file holds the editor's text; a path given becomes the
// document's only then.
LRESULT onSave(HWND document, DocumentData& data, const char* path) {
    if (path != nullptr && !fitsFilePath(path)) {
        reportFailure(document, "Unable to save", path, Outcome::nameTooLong);
        return FALSE;
    }
    if (data.hasFileName == 0) {
        if (path != nullptr) {
            keepPath(data, path);
        }
        SendMessageA(document, TMM_SAVEAS, 0, 0);
        return data.hasFileName != 0;
    }
    const char* target = path != nullptr ? path : data.filePath;
    const Outcome outcome = writeDescription(data, target);
    if (outcome != Outcome::done) {
        reportFailure(document, "Unable to save", target, outcome);
        return FALSE;
    }
    keepPath(data, target);
    return TRUE;
}

LRESULT onSaveOutput(HWND document, DocumentData& data) {
    char path[filePathSize] = {};
    std::strcpy(path, outputFileName);
    OPENFILENAMEA dialog = fileDialog(document, path, nullptr, "Save output", saveFlags);
    if (!GetSaveFileNameA(&dialog)) {
        return 0;
    }
    const Outcome outcome = writeOutput(data, path);
    if (outcome != Outcome::done) {
        reportFailure(document, "Unable to save output", path, outcome);
    }
    return 0;
}
