// FormatMessageA from the system's message table: the texts of every error
// code that the stand-in sets, in the words of Windows itself.
#include <windows.h>

#include <cstring>

namespace {

struct SystemMessage {
    DWORD code;
    const char* text;
};

constexpr SystemMessage systemMessages[] = {
    {NO_ERROR, "The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive.\r\n"},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning.\r\n"},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_FILE_EXISTS, "The file exists.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_DISK_FULL, "There is not enough space on the disk.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.\r\n"},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     "The system cannot find message text for message number 0x%1 in the message file for "
     "%2.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class.\r\n"},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.\r\n"},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist.\r\n"},
    {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     "The specified resource name cannot be found in the image file.\r\n"},
};

DWORD fail(DWORD error) {
    SetLastError(error);
    return 0;
}

}  // namespace

// Only the system's table, in the default language, with the inserts left as
// they stand: what a program needs to say why a call failed.
DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD languageId, LPSTR buffer,
                            DWORD size, va_list*) {
    if (flags != (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS) || languageId != 0 ||
        buffer == nullptr) {
        return fail(ERROR_INVALID_PARAMETER);
    }
    for (const SystemMessage& message : systemMessages) {
        if (message.code == messageId) {
            const std::size_t length = std::strlen(message.text);
            if (length >= size) {
                return fail(ERROR_INSUFFICIENT_BUFFER);
            }
            std::memcpy(buffer, message.text, length + 1);
            return static_cast<DWORD>(length);
        }
    }
    return fail(ERROR_MR_MID_NOT_FOUND);
}
