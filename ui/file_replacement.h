// Writing a file whole or not at all.
#ifndef ZARN_UI_FILE_REPLACEMENT_H
#define ZARN_UI_FILE_REPLACEMENT_H

#include <windows.h>

#include <string>
#include <string_view>

#include "ui/file_handle.h"

// The bytes go to a new file beside the target, which takes the target's place
// only once every byte is on disk. So a failure at any point leaves the earlier
// file as it was and nothing new behind, and a read-only target is refused
// before anything is written.
class FileReplacement {
public:
    explicit FileReplacement(std::string target);
    // Removes the new file unless it has taken the target's place.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Buffered; after the first failure nothing more is written.
    void write(std::string_view bytes);
    // Whether the target now holds every byte written.
    bool commit();
    bool targetIsReadOnly() const { return readOnly; }
    // No new name beside the target was free, or none fitted the path limit.
    bool temporaryUnavailable() const { return noTemporary; }
    // The system's error code of the first failure.
    DWORD error() const { return failure; }

private:
    void open();
    void fail();
    void flush();
    void discard();

    std::string target;
    std::string temporary;
    FileHandle file{INVALID_HANDLE_VALUE};
    std::string pending;
    bool replaces = false;
    bool readOnly = false;
    bool noTemporary = false;
    DWORD failure = NO_ERROR;
};

#endif
