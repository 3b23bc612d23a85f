// KERNEL32's file calls over POSIX files. Paths are ANSI (UTF-8) and go to
// the disk as the bytes they are. A file with no write bit set is what Win32
// calls read-only, and Win32's rules protect it even from root. Nothing here
// may wait: a pipe or a device is opened without blocking.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <memory>

#include "ansi_text.h"
#include "handle_table.h"

namespace platform {
namespace {

struct File {
    int descriptor = -1;
    dev_t device = 0;
    ino_t inode = 0;
    DWORD access = 0;
    DWORD shareMode = 0;
    ~File() {
        if (descriptor >= 0) {
            ::close(descriptor);
        }
    }
};

HandleTable<File, HANDLE>& files() {
    static HandleTable<File, HANDLE> table(0x60000);
    return table;
}

QByteArray diskPath(LPCSTR name) {
    return QByteArray(name);
}

bool isReadOnly(const struct stat& status) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? "/" : path.left(slash);
}

// Replacing a file through a symbolic link replaces the file it names, as
// Linux editors do, and a link to a file not made yet makes that file.
QByteArray throughLinks(QByteArray path) {
    constexpr int mostLinks = 40;  // as the kernel follows at most
    for (int followed = 0; followed < mostLinks; ++followed) {
        struct stat status {};
        if (::lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            return path;
        }
        QByteArray target(PATH_MAX, '\0');
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length <= 0 || length >= target.size()) {
            return path;
        }
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    return path;
}

// Win32 tells a missing file in an existing folder from a missing folder.
DWORD missingError(const QByteArray& path) {
    struct stat status {};
    const QByteArray folder = folderOf(path);
    const bool folderExists = ::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode);
    return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

DWORD errorOf(int error, const QByteArray& path = {}) {
    switch (error) {
        case ENOENT:
            return missingError(path);
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EROFS:
        case EBADF:
            return ERROR_ACCESS_DENIED;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EXDEV:
            return ERROR_NOT_SAME_DEVICE;
        default:
            return ERROR_GEN_FAILURE;
    }
}

template <typename Result>
Result fail(DWORD error, Result result) {
    SetLastError(error);
    return result;
}

int openFlags(DWORD access, DWORD creation) {
    int flags = O_CLOEXEC | O_NONBLOCK;
    const bool reads = access & GENERIC_READ;
    const bool writes = access & GENERIC_WRITE;
    flags |= reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY;
    switch (creation) {
        case CREATE_NEW:
            return flags | O_CREAT | O_EXCL;
        case CREATE_ALWAYS:
            return flags | O_CREAT | O_TRUNC;
        case OPEN_ALWAYS:
            return flags | O_CREAT;
        case TRUNCATE_EXISTING:
            return flags | O_TRUNC;
        default:
            return flags;
    }
}

// Each open handle admits only the access that its share mode allows, and a
// new open must in turn share what the handles already open use.
bool deniedBy(DWORD access, DWORD shareMode) {
    return ((access & GENERIC_WRITE) && !(shareMode & FILE_SHARE_WRITE)) ||
           ((access & GENERIC_READ) && !(shareMode & FILE_SHARE_READ));
}

bool sharingViolation(const struct stat& status, DWORD access, DWORD shareMode) {
    bool violated = false;
    files().forEachHandle([&](HANDLE handle) {
        const File* held = files().find(handle);
        if (held->device == status.st_dev && held->inode == status.st_ino &&
            (deniedBy(access, held->shareMode) || deniedBy(held->access, shareMode))) {
            violated = true;
        }
    });
    return violated;
}

// Win32 refuses to replace a file that a handle holds open without
// FILE_SHARE_DELETE.
bool heldAgainstReplacing(const struct stat& status) {
    bool held = false;
    files().forEachHandle([&](HANDLE handle) {
        const File* file = files().find(handle);
        held = held || (file->device == status.st_dev && file->inode == status.st_ino &&
                        !(file->shareMode & FILE_SHARE_DELETE));
    });
    return held;
}

// Checks made before the file is opened, so that a refused CREATE_ALWAYS
// truncates nothing.
DWORD openError(const struct stat& existing, DWORD access, DWORD shareMode, DWORD creation) {
    if (creation == CREATE_NEW) {
        return ERROR_FILE_EXISTS;
    }
    const bool writes =
        (access & GENERIC_WRITE) || creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING;
    if (S_ISDIR(existing.st_mode) || (writes && isReadOnly(existing))) {
        return ERROR_ACCESS_DENIED;
    }
    if (sharingViolation(existing, access, shareMode)) {
        return ERROR_SHARING_VIOLATION;
    }
    return NO_ERROR;
}

File* findFile(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? nullptr : files().find(handle);
}

// Win32 requires a place for the byte count unless the call is overlapped;
// without one a real system crashes, here the call fails.
File* fileForTransfer(HANDLE handle, const void* buffer, DWORD count, LPDWORD done,
                      LPOVERLAPPED overlapped) {
    if (done == nullptr && overlapped == nullptr) {
        return fail(ERROR_INVALID_PARAMETER, nullptr);
    }
    if (done != nullptr) {
        *done = 0;
    }
    File* file = findFile(handle);
    if (file == nullptr) {
        return fail(ERROR_INVALID_HANDLE, nullptr);
    }
    if (buffer == nullptr && count > 0) {
        return fail(ERROR_INVALID_PARAMETER, nullptr);
    }
    return file;
}

bool syncPath(const QByteArray& path) {
    const int descriptor = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    const bool synced = ::fsync(descriptor) == 0;
    ::close(descriptor);
    return synced;
}

// The file's path on disk and its status; false, with the last error set,
// when there is no such file.
bool findOnDisk(LPCSTR fileName, QByteArray& path, struct stat& status) {
    if (fileName == nullptr) {
        return fail(ERROR_INVALID_PARAMETER, false);
    }
    path = diskPath(fileName);
    return ::stat(path.constData(), &status) == 0 || fail(errorOf(errno, path), false);
}

}  // namespace
}  // namespace platform

using namespace platform;

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES,
                          DWORD creation, DWORD, HANDLE) {
    if (fileName == nullptr || creation < CREATE_NEW || creation > TRUNCATE_EXISTING) {
        return fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    }
    const QByteArray path = diskPath(fileName);
    struct stat status {};
    if (::stat(path.constData(), &status) == 0) {
        if (const DWORD error = openError(status, access, shareMode, creation)) {
            return fail(error, INVALID_HANDLE_VALUE);
        }
    }
    // A socket cannot be opened as a file; its handle can still tell its type.
    const bool socket = S_ISSOCK(status.st_mode) && creation == OPEN_EXISTING;
    const int descriptor =
        ::open(path.constData(), socket ? O_PATH | O_CLOEXEC : openFlags(access, creation), 0666);
    if (descriptor < 0) {
        return fail(errorOf(errno, path), INVALID_HANDLE_VALUE);
    }
    auto file = std::make_unique<File>();
    file->descriptor = descriptor;
    if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        return fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    }
    file->device = status.st_dev;
    file->inode = status.st_ino;
    file->access = access;
    file->shareMode = shareMode;
    return files().add(std::move(file));
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD toRead, LPDWORD read,
                     LPOVERLAPPED overlapped) {
    File* file = fileForTransfer(handle, buffer, toRead, read, overlapped);
    if (file == nullptr) {
        return FALSE;
    }
    DWORD done = 0;
    while (done < toRead) {
        const ssize_t got =
            ::read(file->descriptor, static_cast<char*>(buffer) + done, toRead - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return fail(errorOf(errno), FALSE);
        }
        if (got == 0) {
            break;
        }
        done += static_cast<DWORD>(got);
        if (read != nullptr) {
            *read = done;
        }
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD toWrite, LPDWORD written,
                      LPOVERLAPPED overlapped) {
    File* file = fileForTransfer(handle, buffer, toWrite, written, overlapped);
    if (file == nullptr) {
        return FALSE;
    }
    DWORD done = 0;
    while (done < toWrite) {
        const ssize_t put =
            ::write(file->descriptor, static_cast<const char*>(buffer) + done, toWrite - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return fail(put < 0 ? errorOf(errno) : ERROR_DISK_FULL, FALSE);
        }
        done += static_cast<DWORD>(put);
        if (written != nullptr) {
            *written = done;
        }
    }
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE handle) {
    File* file = findFile(handle);
    if (file == nullptr) {
        return fail(ERROR_INVALID_HANDLE, FALSE);
    }
    return ::fsync(file->descriptor) == 0 ? TRUE : fail(errorOf(errno), FALSE);
}

// A size of 0xFFFFFFFF is also a valid low word: the last error then tells.
DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD sizeHigh) {
    File* file = findFile(handle);
    struct stat status {};
    if (file == nullptr || ::fstat(file->descriptor, &status) != 0) {
        return fail(ERROR_INVALID_HANDLE, INVALID_FILE_SIZE);
    }
    const auto size = static_cast<unsigned long long>(status.st_size);
    if (sizeHigh != nullptr) {
        *sizeHigh = static_cast<DWORD>(size >> 32);
    }
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size & 0xFFFFFFFFull);
}

// Only a file on disk can be read whole; pipes, sockets and devices cannot.
DWORD WINAPI GetFileType(HANDLE handle) {
    File* file = findFile(handle);
    struct stat status {};
    if (file == nullptr || ::fstat(file->descriptor, &status) != 0) {
        return fail(ERROR_INVALID_HANDLE, FILE_TYPE_UNKNOWN);
    }
    SetLastError(NO_ERROR);
    if (S_ISREG(status.st_mode)) {
        return FILE_TYPE_DISK;
    }
    return S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode) ? FILE_TYPE_PIPE : FILE_TYPE_CHAR;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    if (handle == INVALID_HANDLE_VALUE || !files().remove(handle)) {
        return fail(ERROR_INVALID_HANDLE, FALSE);
    }
    return TRUE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    QByteArray path;
    struct stat status {};
    if (!findOnDisk(fileName, path, status)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    const DWORD kind = S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    return kind | (isReadOnly(status) ? FILE_ATTRIBUTE_READONLY : 0);
}

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
    QByteArray path;
    struct stat status {};
    if (!findOnDisk(fileName, path, status)) {
        return FALSE;
    }
    if (S_ISDIR(status.st_mode) || isReadOnly(status)) {
        return fail(ERROR_ACCESS_DENIED, FALSE);
    }
    return ::unlink(path.constData()) == 0 ? TRUE : fail(errorOf(errno, path), FALSE);
}

// A relative name is taken from the current folder, and "." and ".." are
// resolved by name alone, as Win32 does, without asking the disk.
DWORD WINAPI GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart) {
    if (fileName == nullptr || *fileName == '\0') {
        return fail(ERROR_INVALID_NAME, 0);
    }
    char current[PATH_MAX] = {};
    if (::getcwd(current, sizeof current) == nullptr) {
        return fail(errorOf(errno), 0);
    }
    const std::string full =
        toAnsi(QDir::cleanPath(QDir(fromAnsi(current)).absoluteFilePath(fromAnsi(fileName))));
    if (buffer == nullptr || bufferLength <= full.size()) {
        return static_cast<DWORD>(full.size() + 1);
    }
    std::memcpy(buffer, full.c_str(), full.size() + 1);
    if (filePart != nullptr) {
        const std::size_t slash = full.rfind('/');
        *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
    }
    return static_cast<DWORD>(full.size());
}

// A replaced file hands its permission bits on to the one that replaces it, as
// a file on Windows keeps the access rights of its folder: a private file
// stays private when it is saved again.
BOOL WINAPI MoveFileExA(LPCSTR existingName, LPCSTR newName, DWORD flags) {
    if (existingName == nullptr || newName == nullptr) {
        return fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    const QByteArray source = diskPath(existingName);
    const QByteArray target = throughLinks(diskPath(newName));
    struct stat status {};
    if (::lstat(source.constData(), &status) != 0) {
        return fail(errorOf(errno, source), FALSE);
    }
    struct stat replaced {};
    const bool replaces = ::stat(target.constData(), &replaced) == 0;
    if (replaces && !(flags & MOVEFILE_REPLACE_EXISTING)) {
        return fail(ERROR_ALREADY_EXISTS, FALSE);
    }
    if (replaces &&
        (!S_ISREG(replaced.st_mode) || isReadOnly(replaced) || heldAgainstReplacing(replaced))) {
        return fail(ERROR_ACCESS_DENIED, FALSE);
    }
    if ((flags & MOVEFILE_WRITE_THROUGH) && !syncPath(source)) {
        return fail(errorOf(errno, source), FALSE);
    }
    if (replaces && ::chmod(source.constData(), replaced.st_mode & 0777) != 0) {
        return fail(errorOf(errno, source), FALSE);
    }
    if (::rename(source.constData(), target.constData()) != 0) {
        return fail(errorOf(errno, target), FALSE);
    }
    if (flags & MOVEFILE_WRITE_THROUGH) {
        syncPath(folderOf(target));
    }
    return TRUE;
}

// The replacement takes the replaced file's name and keeps what the user set
// on it: here its permission bits. No backup file is made.
BOOL WINAPI ReplaceFileA(LPCSTR replacedName, LPCSTR replacementName, LPCSTR backupName,
                         DWORD flags, LPVOID, LPVOID) {
    if (replacedName == nullptr || replacementName == nullptr || backupName != nullptr) {
        return fail(ERROR_INVALID_PARAMETER, FALSE);
    }
    QByteArray source;
    QByteArray target;
    struct stat replacement {};
    struct stat replaced {};
    if (!findOnDisk(replacementName, source, replacement) ||
        !findOnDisk(replacedName, target, replaced)) {
        return FALSE;
    }
    target = throughLinks(target);
    if (!S_ISREG(replaced.st_mode) || isReadOnly(replaced)) {
        return fail(ERROR_ACCESS_DENIED, FALSE);
    }
    if (heldAgainstReplacing(replaced)) {
        return fail(ERROR_SHARING_VIOLATION, FALSE);
    }
    if (::chmod(source.constData(), replaced.st_mode & 0777) != 0 ||
        ::rename(source.constData(), target.constData()) != 0) {
        return fail(errorOf(errno, target), FALSE);
    }
    if (flags & REPLACEFILE_WRITE_THROUGH) {
        syncPath(folderOf(target));
    }
    return TRUE;
}

BOOL WINAPI SetFileAttributesA(LPCSTR fileName, DWORD attributes) {
    QByteArray path;
    struct stat status {};
    if (!findOnDisk(fileName, path, status)) {
        return FALSE;
    }
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? status.st_mode & ~writable
                                                               : status.st_mode | S_IWUSR;
    return ::chmod(path.constData(), mode) == 0 ? TRUE : fail(errorOf(errno, path), FALSE);
}
