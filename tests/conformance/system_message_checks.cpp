// The system's words for an error code, as a file error box shows them:
// FormatMessageA from the system's table, for every code the stand-in sets.
#include <windows.h>

#include <cstring>

#include "tests/conformance/areas.h"
#include "tests/conformance/check.h"
#include "tests/conformance/knowing_differences.h"

namespace conformance {
namespace {

constexpr DWORD fromSystem = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;

struct SystemMessage {
    DWORD code;
    const char* windows;
    const char* wine;
};

// Windows's own words, which the stand-in gives, and Wine's shorter ones.
constexpr SystemMessage messages[] = {
    {NO_ERROR, "The operation completed successfully.", "Success."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.", "File not found."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.", "Path not found."},
    {ERROR_ACCESS_DENIED, "Access is denied.", "Access denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid.", "Invalid handle."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive.",
     "Not same device."},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning.", "General failure."},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.",
     "Sharing violation."},
    {ERROR_FILE_EXISTS, "The file exists.", "File exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.", "Invalid parameter."},
    {ERROR_DISK_FULL, "There is not enough space on the disk.", "Disk full."},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.",
     "Insufficient buffer."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect.",
     "Invalid name."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists.",
     "File already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long.",
     "File name is too long."},
    {ERROR_MR_MID_NOT_FOUND,
     "The system cannot find message text for message number 0x%1 in the message file for %2.",
     "Message 0x%1 not found in file %2."},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.", "Invalid window handle."},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class.", "Can't find window class."},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.", "Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist.", "Class does not exist."},
    {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows.", "Class has open windows."},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     "The specified resource name cannot be found in the image file.", "Resource name not found."},
};

}  // namespace

void checkSystemMessages() {
    for (const SystemMessage& message : messages) {
        char text[512] = {};
        char expected[512] = {};
        std::strcpy(expected, systemMessagesOfWindows ? message.windows : message.wine);
        std::strcat(expected, "\r\n");
        const DWORD length =
            FormatMessageA(fromSystem, nullptr, message.code, 0, text, sizeof text, nullptr);
        CHECK_EQ(length, std::strlen(expected));
        CHECK_TEXT(text, expected);
    }
    char small[8] = {};
    SetLastError(0);
    CHECK_EQ(
        FormatMessageA(fromSystem, nullptr, ERROR_ACCESS_DENIED, 0, small, sizeof small, nullptr),
        0);
    CHECK_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    char text[64] = {};
    CHECK_EQ(FormatMessageA(fromSystem, nullptr, 12345, 0, text, sizeof text, nullptr), 0);
    CHECK_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);
}

}  // namespace conformance
