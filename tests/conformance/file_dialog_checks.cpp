// The open and save dialogs as the document's file commands use them: a name
// typed into the dialog comes back as a full path with the default extension,
// its bare name and their offsets; Cancel and a path too long for its buffer
// answer FALSE, told apart by CommDlgExtendedError. The check's own timer
// plays the user: it finds the open dialog by its title, types into its name
// box and presses OK or Cancel.
#include <windows.h>
// The common dialogs' header expects windows.h before it.
#include <commdlg.h>

#include <cstring>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/recorder.h"

namespace conformance {
namespace {

constexpr UINT_PTR timerId = 1001;
// The name box of the Explorer-style dialogs (cmb13 of <dlgs.h>), or of the
// older ones (edt1).
constexpr int nameBox = 0x47c;
constexpr int oldNameBox = 0x480;
constexpr DWORD bufferTooSmall = 0x3003;  // FNERR_BUFFERTOOSMALL
constexpr char filter[] = "Text files\0*.txt\0All files\0*.*\0";

struct Choice {
    const char* typed = nullptr;  // nullptr: Cancel
    char path[300] = "";
    char title[200] = "";
    DWORD maxFile = sizeof path;
    bool found = false;
};

// Shows the dialog and lets the timer answer it as a user would.
BOOL runDialog(HWND owner, Choice& choice, bool save) {
    const char* const caption = save ? "Save file" : "Open file";
    answer = [&](HWND to, UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (to != owner || message != WM_TIMER) {
            return false;
        }
        result = 0;
        HWND dialog = choice.found ? nullptr : FindWindowA(nullptr, caption);
        if (!dialog) {
            return true;
        }
        choice.found = true;
        if (choice.typed) {
            HWND name = GetDlgItem(dialog, nameBox) ? GetDlgItem(dialog, nameBox)
                                                    : GetDlgItem(dialog, oldNameBox);
            SetWindowTextA(name, choice.typed);
        }
        PostMessageA(dialog, WM_COMMAND, choice.typed ? IDOK : IDCANCEL, 0);
        return true;
    };
    SetTimer(owner, timerId, 50, nullptr);
    OPENFILENAMEA dialog{};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = choice.path;
    dialog.nMaxFile = choice.maxFile;
    dialog.lpstrFileTitle = choice.title;
    dialog.nMaxFileTitle = sizeof choice.title;
    dialog.lpstrTitle = caption;
    dialog.Flags =
        OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES | (save ? 0 : OFN_FILEMUSTEXIST);
    dialog.lpstrDefExt = "txt";
    const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
    KillTimer(owner, timerId);
    answer = nullptr;
    if (chosen) {
        CHECK_TEXT(choice.path + dialog.nFileOffset, choice.title);
        CHECK_TEXT(choice.path + dialog.nFileExtension, "txt");
    }
    return chosen;
}

bool endsWith(const char* text, const char* end) {
    const std::size_t length = std::strlen(text);
    return length >= std::strlen(end) && std::strcmp(text + length - std::strlen(end), end) == 0;
}

}  // namespace

void checkFileDialogs(HWND top) {
    HWND owner = createRecorder(top, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50);

    Choice saved;
    saved.typed = "conformance-chosen";
    CHECK(runDialog(owner, saved, true));
    CHECK(saved.found);
    CHECK_TEXT(saved.title, "conformance-chosen.txt");
    CHECK(endsWith(saved.path, "conformance-chosen.txt") && saved.path[0] != 'c');

    HANDLE file =
        CreateFileA("conformance-open.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    Choice opened;
    opened.typed = "conformance-open.txt";
    CHECK(runDialog(owner, opened, false));
    CHECK_TEXT(opened.title, "conformance-open.txt");
    DeleteFileA("conformance-open.txt");

    Choice cancelled;
    CHECK(!runDialog(owner, cancelled, true));
    CHECK(cancelled.found);
    CHECK_EQ(CommDlgExtendedError(), 0);

    Choice tooLong;
    tooLong.typed = "conformance-chosen";
    tooLong.maxFile = 5;
    CHECK(!runDialog(owner, tooLong, true));
    CHECK_EQ(CommDlgExtendedError(), bufferTooSmall);

    DestroyWindow(owner);
}

}  // namespace conformance
