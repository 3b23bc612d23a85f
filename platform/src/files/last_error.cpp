// The thread's last error code, as GetLastError reports it.
#include <windows.h>

namespace {

DWORD lastError = 0;

}  // namespace

DWORD WINAPI GetLastError(void) {
    return lastError;
}

void WINAPI SetLastError(DWORD error) {
    lastError = error;
}
