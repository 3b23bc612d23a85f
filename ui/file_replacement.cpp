#include "ui/file_replacement.h"

#include <algorithm>

namespace {

// Names tried for the new file, so that an older one left by a crash is not
// overwritten.
constexpr int temporaryNames = 100;
constexpr std::size_t bufferSize = 64 * 1024;

HANDLE createNew(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

}  // namespace

FileReplacement::FileReplacement(std::string target) : target(std::move(target)) {
    // The system itself would let root, and some file servers, replace a
    // read-only file.
    const DWORD attributes = GetFileAttributesA(this->target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        readOnly = failed = true;
        return;
    }
    for (int number = 0; number < temporaryNames; ++number) {
        const std::string name = this->target + ".~" + std::to_string(number) + ".tmp";
        HANDLE handle = createNew(name);
        if (handle != INVALID_HANDLE_VALUE) {
            temporary = name;
            file.reset(handle);
            return;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    failed = true;
}

FileReplacement::~FileReplacement() {
    discard();
}

void FileReplacement::write(std::string_view bytes) {
    if (failed) {
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
    while (!failed && done < pending.size()) {
        const auto piece =
            static_cast<DWORD>(std::min<std::size_t>(pending.size() - done, bufferSize));
        DWORD written = 0;
        failed = !WriteFile(file.get(), pending.data() + done, piece, &written, nullptr) ||
                 written != piece;
        done += written;
    }
    pending.clear();
}

bool FileReplacement::commit() {
    if (!failed) {
        flush();
    }
    // Flushed before the rename, so that the new name never shows a file whose
    // bytes a power cut could still lose.
    failed = failed || !FlushFileBuffers(file.get()) || !file.close() ||
             !MoveFileExA(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (failed) {
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
