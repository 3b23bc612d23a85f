#include "ui/document_files.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "ui/file_handle.h"
#include "ui/file_replacement.h"
#include "ui/log_list.h"
#include "ui/workbench.h"

namespace {

constexpr char fileFilter[] = "Text files\0*.txt\0All files\0*.*\0";
constexpr DWORD fileTitleCapacity = 200;
constexpr DWORD openFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr DWORD saveFlags = OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES;
constexpr char outputFileName[] = "output.txt";
constexpr DWORD readPiece = 1 << 20;

// Why a file command failed: a reason of our own, or else the system's error
// code, which the system puts into words.
struct Failure {
    const char* reason;
    DWORD error;
};

constexpr Failure noFailure{nullptr, NO_ERROR};
constexpr Failure readOnly{"File is read-only", NO_ERROR};
constexpr Failure tooLarge{"File too large", NO_ERROR};
constexpr Failure nameTooLong{"File name too long", NO_ERROR};
constexpr Failure editorRefused{"The editor cannot hold this text", NO_ERROR};
constexpr Failure noTemporary{"No temporary file can be made in its folder", NO_ERROR};
constexpr Failure notAFile{"It is a pipe, a device or a socket, not a file", NO_ERROR};

bool operator==(const Failure& a, const Failure& b) {
    return a.reason == b.reason && a.error == b.error;
}

Failure systemFailure(DWORD error = GetLastError()) {
    return {nullptr, error != NO_ERROR ? error : static_cast<DWORD>(ERROR_GEN_FAILURE)};
}

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

std::string systemText(DWORD error) {
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    if (length == 0) {
        return "Error " + std::to_string(error);
    }
    std::string words(text, length);
    words.erase(words.find_last_not_of("\r\n ") + 1);
    return words;
}

void reportFailure(HWND document, const char* action, const char* path, const Failure& failure) {
    const std::string reason =
        failure.reason != nullptr ? failure.reason : systemText(failure.error);
    const std::string text = std::string(action) + "\n" + path + "\n" + reason;
    MessageBoxA(document, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

// The editor shows only CR LF as a line break; files written elsewhere break
// their lines with LF alone, or CR alone. CR CR LF is the editor's own mark of
// a wrapped line, not two breaks: it stays as it is, so that the lines keep the
// numbers that the parser's messages give them.
std::string withCrLfBreaks(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 3, "\r\r\n") == 0) {
            lines += "\r\r\n";
            i += 2;
        } else if (text[i] == '\r' || text[i] == '\n') {
            lines += "\r\n";
            i += text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        } else {
            lines += text[i];
        }
    }
    return lines;
}

// The text is what comes before the first NUL: a saved file ends with one.
Failure readText(HANDLE file, std::string& text) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        return systemFailure();
    }
    if (high != 0 || size == INVALID_FILE_SIZE || size >= text.max_size()) {
        return tooLarge;
    }
    text.resize(size);
    DWORD done = 0;
    while (done < size) {
        DWORD got = 0;
        if (!ReadFile(file, text.data() + done, std::min(size - done, readPiece), &got, nullptr)) {
            return systemFailure();
        }
        if (got == 0) {
            break;
        }
        done += got;
    }
    text.resize(std::strlen(text.c_str()));
    return noFailure;
}

Failure readDescription(const char* path, std::string& text) {
    FileHandle file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.isOpen()) {
        return systemFailure();
    }
    // Reading one could wait for ever, or never end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK) {
        return notAFile;
    }
    std::string bytes;
    const Failure failure = readText(file.get(), bytes);
    if (failure == noFailure) {
        text = withCrLfBreaks(bytes);
    }
    return failure;
}

Failure outcomeOf(FileReplacement& file) {
    if (file.commit()) {
        return noFailure;
    }
    if (file.targetIsReadOnly()) {
        return readOnly;
    }
    return file.temporaryUnavailable() ? noTemporary : systemFailure(file.error());
}

Failure writeDescription(const DocumentData& data, const char* path) {
    FileReplacement file(path);
    file.write(editorText(data.editor));
    file.write(std::string(1, '\0'));
    return outcomeOf(file);
}

// One line per step: the states line, a TAB, the tape line, CR LF, written in
// full whatever their length. The count is read once, so that a run going on
// behind does not mix the lines of two steps.
Failure writeOutput(const DocumentData& data, const char* path) {
    FileReplacement file(path);
    const auto count = static_cast<int>(SendMessageA(data.statesLog, LB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        file.write(lineText(data.statesLog, static_cast<UINT>(index)));
        file.write("\t");
        file.write(lineText(data.tapeLog, static_cast<UINT>(index)));
        file.write("\r\n");
    }
    return outcomeOf(file);
}

// What the Open dialog gives for the file: its full path and its bare name.
// The full path keeps naming the file after the current folder changes.
bool chooseByName(HWND document, const char* name, FileChoice& choice) {
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(name, filePathSize, choice.path, &filePart);
    if (length == 0 || length >= static_cast<DWORD>(filePathSize)) {
        reportFailure(document, "Unable to open", name,
                      length == 0 ? systemFailure() : nameTooLong);
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
    Failure failure = fitsFilePath(source) ? readDescription(source, text) : nameTooLong;
    SetLastError(NO_ERROR);
    if (failure == noFailure && !SetWindowTextA(data.editor, text.c_str())) {
        failure = GetLastError() != NO_ERROR ? systemFailure() : editorRefused;
    }
    if (failure != noFailure) {
        reportFailure(document, "Unable to open", source, failure);
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
        reportFailure(document, "Unable to save", path, nameTooLong);
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
    const Failure failure = writeDescription(data, target);
    if (failure != noFailure) {
        reportFailure(document, "Unable to save", target, failure);
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
    const Failure failure = writeOutput(data, path);
    if (failure != noFailure) {
        reportFailure(document, "Unable to save output", path, failure);
    }
    return 0;
}
