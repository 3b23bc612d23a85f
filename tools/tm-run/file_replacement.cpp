#include "tools/tm-run/file_replacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// A name beside the target that no file has yet.
fs::path unusedNameBeside(const fs::path& target) {
    for (int attempt = 0;; ++attempt) {
        fs::path candidate = target;
        candidate += ".partial" + std::to_string(attempt);
        // A folder that cannot be searched ends the hunt: writing will say why.
        std::error_code unknown;
        if (!fs::exists(fs::symlink_status(candidate, unknown)) || unknown) {
            return candidate;
        }
    }
}

bool writeAll(const fs::path& path, std::string_view bytes, std::string& error) {
    errno = 0;
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    errno = 0;
    bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int failure = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written) {
        error = std::strerror(failure != 0 ? failure : EIO);
    }
    return written;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string& error) {
    const fs::path target(path);
    std::error_code status;
    const fs::file_status existing = fs::status(target, status);
    const bool replaces = fs::exists(existing);
    if (replaces && fs::is_directory(existing)) {
        error = std::strerror(EISDIR);
        return false;
    }
    if (replaces && (existing.permissions() & fs::perms::owner_write) == fs::perms::none) {
        error = std::strerror(EACCES);
        return false;
    }
    const fs::path temporary = unusedNameBeside(target);
    if (!writeAll(temporary, bytes, error)) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    std::error_code failure;
    if (replaces) {
        fs::permissions(temporary, existing.permissions(), failure);
    }
    if (!failure) {
        fs::rename(temporary, target, failure);
    }
    if (failure) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        error = failure.message();
        return false;
    }
    return true;
}
