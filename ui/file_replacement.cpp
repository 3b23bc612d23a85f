#include "ui/file_replacement.h"

#include <algorithm>

namespace {

// Short names in the target's folder, so that a path that fits stays within
// the limit; a name already taken (a file left by a crash) is passed over.
constexpr int temporaryNames = 1000;
constexpr std::size_t bufferSize = 64 * 1024;

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

HANDLE createFile(const std::string& path, DWORD creation) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, creation, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

FileReplacement::FileReplacement(std::string target) : target(std::move(target)) {
    // The system itself would let root, and some file servers, replace a
    // read-only file.
    const DWORD attributes = GetFileAttributesA(this->target.c_str());
    replaces = attributes != INVALID_FILE_ATTRIBUTES;
    if (replaces && (attributes & FILE_ATTRIBUTE_READONLY)) {
        readOnly = true;
        failure = ERROR_ACCESS_DENIED;
        return;
    }
    open();
}

// The target is never written in place: when no new name is free, or none
// fits, the save fails and the target keeps what it held.
void FileReplacement::open() {
    const std::string folder = folderOf(target);
    for (int number = 0; number < temporaryNames; ++number) {
        std::string name = folder + "~" + std::to_string(number) + ".tmp";
        if (name.size() > target.size() && name.size() >= MAX_PATH) {
            break;
        }
        HANDLE handle = createFile(name, CREATE_NEW);
        if (handle != INVALID_HANDLE_VALUE) {
            // Nothing here allocates: the new file is always cleaned up.
            file.reset(handle);
            temporary = std::move(name);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            fail();
            return;
        }
    }
    noTemporary = true;
    failure = ERROR_CANNOT_MAKE;
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::fail() {
    if (failure == NO_ERROR) {
        failure = GetLastError() != NO_ERROR ? GetLastError() : ERROR_GEN_FAILURE;
    }
}

void FileReplacement::write(std::string_view bytes) {
    if (failure != NO_ERROR) {
        return;
    }
    pending.append(bytes);
    if (pending.size() >= bufferSize) {
        flush();
    }
}

// WriteFile takes a 32-bit count, so a large buffer goes in pieces.
void FileReplacement::flush() {
    std::size_t done = 0;
    while (failure == NO_ERROR && done < pending.size()) {
        const auto piece =
            static_cast<DWORD>(std::min<std::size_t>(pending.size() - done, bufferSize));
        DWORD written = 0;
        if (!WriteFile(file.get(), pending.data() + done, piece, &written, nullptr)) {
            fail();
        } else if (written != piece) {
            failure = ERROR_DISK_FULL;
        }
        done += written;
    }
    pending.clear();
}

// Flushed before the new file takes the target's name, so that the name never
// shows a file whose bytes a power cut could still lose. ReplaceFileA keeps
// the replaced file's attributes and access rights; a new name gets fresh ones.
bool FileReplacement::commit() {
    if (failure == NO_ERROR) {
        flush();
    }
    if (failure == NO_ERROR && (!FlushFileBuffers(file.get()) || !file.close())) {
        fail();
    }
    if (failure == NO_ERROR) {
        const bool placed =
            replaces ? ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)
                     : MoveFileExA(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!placed) {
            fail();
        }
    }
    if (failure != NO_ERROR) {
        discard();
        return false;
    }
    temporary.clear();
    return true;
}

void FileReplacement::discard() {
    file.close();
    if (!temporary.empty()) {
        DeleteFileA(temporary.c_str());
        temporary.clear();
    }
}
