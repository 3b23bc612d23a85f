// Whole-file reading and writing through KERNEL32-style handles over POSIX
// files. Paths are ANSI (Latin-1) and stored on disk in the locale's encoding.
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include "ansi_text.h"
#include "handle_table.h"

#include <windows.h>

namespace platform {
namespace {

struct File {
    int descriptor = -1;
    ~File() {
        if (descriptor >= 0) ::close(descriptor);
    }
};

HandleTable<File, HANDLE>& files() {
    static HandleTable<File, HANDLE> table(0x60000);
    return table;
}

int openFlags(DWORD access, DWORD creation) {
    int flags = O_CLOEXEC;
    const bool reads = access & GENERIC_READ;
    const bool writes = access & GENERIC_WRITE;
    flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    switch (creation) {
    case CREATE_NEW: return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS: return flags | O_CREAT | O_TRUNC;
    case OPEN_ALWAYS: return flags | O_CREAT;
    case TRUNCATE_EXISTING: return flags | O_TRUNC;
    default: return flags;
    }
}

// ENOENT is a missing file when its folder exists, else a missing path.
DWORD errorOf(int error, const QByteArray& path = {}) {
    switch (error) {
    case ENOENT: {
        const int slash = path.lastIndexOf('/');
        struct stat folder {};
        if (slash <= 0 || (::stat(path.left(slash).constData(), &folder) == 0 && S_ISDIR(folder.st_mode))) {
            return ERROR_FILE_NOT_FOUND;
        }
        return ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    default: return ERROR_INVALID_HANDLE;
    }
}

File* findFile(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : files().find(handle);
}

}  // namespace
}  // namespace platform

using namespace platform;

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD creation, DWORD,
                          HANDLE) {
    if (!fileName || creation < CREATE_NEW || creation > TRUNCATE_EXISTING) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const QByteArray path = QFile::encodeName(fromAnsi(fileName));
    const int descriptor = ::open(path.constData(), openFlags(access, creation), 0666);
    if (descriptor < 0) {
        SetLastError(errorOf(errno, path));
        return INVALID_HANDLE_VALUE;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(descriptor);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    auto file = std::make_unique<File>();
    file->descriptor = descriptor;
    return files().add(std::move(file));
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read, LPOVERLAPPED) {
    if (read) *read = 0;
    File* file = findFile(handle);
    if (!file || (!buffer && toRead > 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t got = ::read(file->descriptor, static_cast<char*>(buffer) + done, toRead - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            SetLastError(errorOf(errno));
            return FALSE;
        }
        if (got == 0) break;
        done += static_cast<DWORD>(got);
    }
    if (read) *read = done;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPOVERLAPPED) {
    if (written) *written = 0;
    File* file = findFile(handle);
    if (!file || (!buffer && toWrite > 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t put = ::write(file->descriptor, static_cast<const char*>(buffer) + done, toWrite - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            SetLastError(errorOf(errno));
            if (written) *written = done;
            return FALSE;
        }
        done += static_cast<DWORD>(put);
    }
    if (written) *written = done;
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    File* file = findFile(handle);
    struct stat status {};
    if (!file || ::fstat(file->descriptor, &status) != 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<unsigned long long>(status.st_size);
    if (sizeHigh) *sizeHigh = static_cast<DWORD>(size >> 32);
    return static_cast<DWORD>(size & 0xFFFFFFFFull);
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || !files().remove(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

// Files report FILE_ATTRIBUTE_ARCHIVE, as freshly written files do on Win32;
// read-only is a file without write permission for its owner.
DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    struct stat status {};
    const QByteArray path = fileName ? QFile::encodeName(fromAnsi(fileName)) : QByteArray();
    if (!fileName || ::stat(path.constData(), &status) != 0) {
        SetLastError(fileName ? errorOf(errno, path) : ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(status.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    return FILE_ATTRIBUTE_ARCHIVE | ((status.st_mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY);
}

BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
    struct stat status {};
    const QByteArray path = fileName ? QFile::encodeName(fromAnsi(fileName)) : QByteArray();
    if (!fileName || ::stat(path.constData(), &status) != 0) {
        SetLastError(fileName ? errorOf(errno, path) : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? status.st_mode & ~writable
                                                               : status.st_mode | S_IWUSR;
    if (::chmod(path.constData(), mode) != 0) {
        SetLastError(errorOf(errno, path));
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    if (!existingName || !newName) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const QByteArray from = QFile::encodeName(fromAnsi(existingName));
    const QByteArray to = QFile::encodeName(fromAnsi(newName));
    struct stat status {};
    if (::stat(from.constData(), &status) != 0) {
        SetLastError(errorOf(errno, from));
        return FALSE;
    }
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && ::stat(to.constData(), &status) == 0) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return FALSE;
    }
    if (::rename(from.constData(), to.constData()) != 0) {
        SetLastError(errorOf(errno, to));
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
    const QByteArray path = fileName ? QFile::encodeName(fromAnsi(fileName)) : QByteArray();
    if (!fileName || ::unlink(path.constData()) != 0) {
        SetLastError(fileName ? errorOf(errno, path) : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}
