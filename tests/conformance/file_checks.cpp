// Whole-file reading and writing as the document's file commands do it, and
// the failures they meet: a missing file or folder, a folder as path, a file
// held open, a read-only file; replacing a file by moving another onto it or
// by ReplaceFileA; the full path of a file named relative to the current folder.
#include <windows.h>

#include <cstring>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"

namespace conformance {
namespace {

const char* const fileName = "conformance-file.txt";
const char* const otherName = "conformance-other.txt";

HANDLE openFile(const char* name, DWORD access, DWORD creation) {
    return CreateFileA(name, access, 0, nullptr, creation, 0, nullptr);
}

bool writeFile(const char* name, const char* bytes, DWORD length) {
    HANDLE file = openFile(name, GENERIC_WRITE, CREATE_ALWAYS);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    WriteFile(file, bytes, length, &written, nullptr) && written == length;
    CloseHandle(file);
    return ok;
}

DWORD failureOf(const char* name, DWORD access, DWORD creation) {
    SetLastError(0);
    HANDLE file = openFile(name, access, creation);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 0;
    }
    return GetLastError();
}

void checkReadAndWrite() {
    // Written over a longer file: CREATE_ALWAYS empties it first.
    CHECK(writeFile(fileName, "longer text", 11));
    HANDLE file = openFile(fileName, GENERIC_WRITE, CREATE_ALWAYS);
    CHECK(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    // The text and its closing NUL, as Save writes them.
    CHECK(WriteFile(file, "ab\0cd", 5, &written, nullptr));
    CHECK_EQ(written, 5);
    CHECK(FlushFileBuffers(file));
    CHECK(CloseHandle(file));

    file = openFile(fileName, GENERIC_READ, OPEN_EXISTING);
    CHECK(file != INVALID_HANDLE_VALUE);
    DWORD high = 7;
    CHECK_EQ(GetFileSize(file, &high), 5);
    CHECK_EQ(GetFileType(file), FILE_TYPE_DISK);
    CHECK_EQ(high, 0);
    char buffer[16] = "";
    DWORD read = 0;
    CHECK(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    CHECK_EQ(read, 5);
    CHECK(std::memcmp(buffer, "ab\0cd", 5) == 0);
    CHECK(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    CHECK_EQ(read, 0);

    // Opened without sharing, the file cannot be opened again, and is not emptied.
    CHECK_EQ(failureOf(fileName, GENERIC_WRITE, CREATE_ALWAYS), ERROR_SHARING_VIOLATION);
    CHECK_EQ(failureOf(fileName, GENERIC_READ, OPEN_EXISTING), ERROR_SHARING_VIOLATION);
    CHECK_EQ(GetFileSize(file, nullptr), 5);
    CloseHandle(file);
}

void checkFailures() {
    CHECK_EQ(failureOf("conformance-missing.txt", GENERIC_READ, OPEN_EXISTING),
             ERROR_FILE_NOT_FOUND);
    CHECK_EQ(failureOf("conformance-missing/file.txt", GENERIC_READ, OPEN_EXISTING),
             ERROR_PATH_NOT_FOUND);
    CHECK_EQ(failureOf("conformance-missing/file.txt", GENERIC_WRITE, CREATE_ALWAYS),
             ERROR_PATH_NOT_FOUND);
    CHECK_EQ(failureOf(".", GENERIC_READ, OPEN_EXISTING), ERROR_ACCESS_DENIED);
    CHECK_EQ(failureOf(".", GENERIC_WRITE, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    CHECK_EQ(failureOf(fileName, GENERIC_WRITE, CREATE_NEW), ERROR_FILE_EXISTS);
}

// Whether writing over a read-only file fails depends on the user (an
// administrator may), so a program that must not overwrite one asks first.
void checkAttributes() {
    CHECK_EQ(GetFileAttributesA("conformance-missing.txt"), INVALID_FILE_ATTRIBUTES);
    CHECK_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(GetFileAttributesA(fileName), FILE_ATTRIBUTE_ARCHIVE);
    CHECK(SetFileAttributesA(fileName, FILE_ATTRIBUTE_READONLY));
    CHECK_EQ(GetFileAttributesA(fileName), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    // Still whole after the failures above.
    HANDLE file = openFile(fileName, GENERIC_READ, OPEN_EXISTING);
    CHECK_EQ(GetFileSize(file, nullptr), 5);
    CloseHandle(file);
    CHECK(SetFileAttributesA(fileName, FILE_ATTRIBUTE_NORMAL));
    CHECK_EQ(GetFileAttributesA(fileName), FILE_ATTRIBUTE_ARCHIVE);
}

void checkReplacing() {
    CHECK(writeFile(otherName, "new", 3));
    CHECK(MoveFileExA(otherName, fileName, MOVEFILE_REPLACE_EXISTING));
    CHECK_EQ(GetFileAttributesA(otherName), INVALID_FILE_ATTRIBUTES);
    HANDLE file = openFile(fileName, GENERIC_READ, OPEN_EXISTING);
    CHECK_EQ(GetFileSize(file, nullptr), 3);
    CloseHandle(file);
    CHECK(!MoveFileExA(otherName, fileName, MOVEFILE_REPLACE_EXISTING));
    CHECK_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    CHECK(DeleteFileA(fileName));
    CHECK(!DeleteFileA(fileName));
    CHECK_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

DWORD replaceFailure(const char* replaced, const char* replacement) {
    SetLastError(0);
    return ReplaceFileA(replaced, replacement, nullptr, 0, nullptr, nullptr) ? 0 : GetLastError();
}

// A save puts its new file in the old one's place; Wine wants full paths.
// (A replaced file held open fails with ERROR_SHARING_VIOLATION, but Wine
// leaves a temporary file of its own behind, so that case is not run here.)
void checkReplacingInPlace() {
    char replaced[300] = {};
    char replacement[300] = {};
    char missing[300] = {};
    GetFullPathNameA(fileName, sizeof replaced, replaced, nullptr);
    GetFullPathNameA(otherName, sizeof replacement, replacement, nullptr);
    GetFullPathNameA("conformance-missing.txt", sizeof missing, missing, nullptr);
    CHECK(writeFile(replaced, "old", 3));
    CHECK(writeFile(replacement, "new!", 4));
    CHECK_EQ(replaceFailure(replaced, replacement), 0);
    CHECK_EQ(GetFileAttributesA(replacement), INVALID_FILE_ATTRIBUTES);
    HANDLE file = openFile(replaced, GENERIC_READ, OPEN_EXISTING);
    CHECK_EQ(GetFileSize(file, nullptr), 4);
    CloseHandle(file);
    CHECK(writeFile(replacement, "new", 3));

    CHECK(SetFileAttributesA(replaced, FILE_ATTRIBUTE_READONLY));
    CHECK_EQ(replaceFailure(replaced, replacement), ERROR_ACCESS_DENIED);
    CHECK(SetFileAttributesA(replaced, FILE_ATTRIBUTE_NORMAL));
    CHECK_EQ(replaceFailure(replaced, missing), ERROR_FILE_NOT_FOUND);
    CHECK(DeleteFileA(replaced));
    CHECK_EQ(replaceFailure(replaced, replacement), ERROR_FILE_NOT_FOUND);
    CHECK_EQ(GetFileAttributesA(replacement), FILE_ATTRIBUTE_ARCHIVE);
    CHECK(DeleteFileA(replacement));
}

// A file named on the command line is opened by its full path, named after its last part.
void checkFullPath() {
    char full[300] = {};
    char* filePart = nullptr;
    const DWORD length = GetFullPathNameA(fileName, sizeof full, full, &filePart);
    const DWORD nameLength = static_cast<DWORD>(std::strlen(fileName));
    CHECK_EQ(length, std::strlen(full));
    CHECK(length > nameLength);
    CHECK(filePart == full + length - nameLength);
    CHECK(std::strcmp(filePart, fileName) == 0);
    char resolved[300] = {};
    CHECK_EQ(GetFullPathNameA("conformance-sub/../conformance-file.txt", sizeof resolved, resolved,
                              &filePart),
             length);
    CHECK(std::strcmp(resolved, full) == 0);
    char small[4] = {};
    CHECK_EQ(GetFullPathNameA(fileName, sizeof small, small, &filePart), length + 1);
}

}  // namespace

void checkFiles() {
    checkReadAndWrite();
    checkFailures();
    checkAttributes();
    checkReplacing();
    checkReplacingInPlace();
    checkFullPath();
}

}  // namespace conformance
