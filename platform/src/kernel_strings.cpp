// The kernel's string functions: lstrlenA, lstrcpyA, lstrcpynA.
#include <windows.h>

#include <algorithm>
#include <cstring>

int WINAPI lstrlenA(LPCSTR text) {
    return text ? static_cast<int>(std::strlen(text)) : 0;
}

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source) {
    if (!destination || !source)
        return nullptr;
    return std::strcpy(destination, source);
}

LPSTR WINAPI lstrcpynA(LPSTR destination, LPCSTR source, int capacity) {
    if (!destination || !source || capacity <= 0)
        return destination;
    const std::size_t length =
        std::min(std::strlen(source), static_cast<std::size_t>(capacity - 1));
    std::memcpy(destination, source, length);
    destination[length] = '\0';
    return destination;
}
