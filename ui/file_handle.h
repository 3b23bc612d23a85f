// A KERNEL32 file handle that closes itself.
#ifndef ZARN_UI_FILE_HANDLE_H
#define ZARN_UI_FILE_HANDLE_H

#include <windows.h>

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle(handle) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    HANDLE get() const { return handle; }
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }

    void reset(HANDLE newHandle) {
        close();
        handle = newHandle;
    }

    // Closing can fail too; the answer says whether it went well.
    bool close() {
        if (!isOpen()) {
            return true;
        }
        const bool closed = CloseHandle(handle) != FALSE;
        handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE handle;
};

#endif
