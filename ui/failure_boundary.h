// The edge between a window procedure and the system that calls it.
#ifndef ZARN_UI_FAILURE_BOUNDARY_H
#define ZARN_UI_FAILURE_BOUNDARY_H

#include <windows.h>

#include <exception>
#include <new>
#include <stdexcept>

// Tells the user that the command that `message` carried failed, and why.
void reportFailedMessage(HWND window, UINT message, WPARAM wParam, const char* reason);

// Runs a window procedure's handling of one message. Win32 cannot unwind a C++
// exception through its own frames: one that got out would end the process
// and every open document with it. So the failed command says why and answers
// `failed`; everything else goes on.
template <typename Result, typename Handler>
Result withinBoundary(HWND window, UINT message, WPARAM wParam, Result failed,
                      Handler handler) noexcept {
    try {
        return handler();
    } catch (const std::bad_alloc&) {
        reportFailedMessage(window, message, wParam, "Not enough memory");
    } catch (const std::length_error&) {
        reportFailedMessage(window, message, wParam, "Not enough memory");
    } catch (const std::exception& error) {
        reportFailedMessage(window, message, wParam, error.what());
    } catch (...) {
        reportFailedMessage(window, message, wParam, "Unknown failure");
    }
    return failed;
}

#endif
