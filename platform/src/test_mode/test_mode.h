// What the rest of the stand-in asks of the test mode.
#ifndef ZARN_PLATFORM_TEST_MODE_H
#define ZARN_PLATFORM_TEST_MODE_H

#include <win32_test.h>

#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {

bool testMode();
void setTestMode(bool enabled);
// Fails the running test program loudly: used where real mode would wait for
// a user that a test does not have.
[[noreturn]] void failTest(const std::string& what);
// Where WM_DRAWITEM drawing is recorded; null outside test mode.
std::vector<win32test::DrawCall>* drawRecording();
// The next scripted answer for a modal dialog, if there is one.
std::optional<std::function<void(HWND)>> takeDialogScript();
void recordDialogShown(const std::string& caption);
// Runs the test's code while the box is open; gives the id of the button pressed.
std::optional<std::function<int()>> takeMessageBoxAnswer();
void recordMessageBox(const win32test::MessageBoxShown& shown);
// A file dialog answer: what runs while it is open, then a path, or nothing
// for a cancel.
struct FileDialogAnswer {
    std::function<void()> whileOpen;
    std::optional<std::string> path;
};
std::optional<FileDialogAnswer> takeFileDialogAnswer();
void recordFileDialog(const win32test::FileDialogShown& shown);
void queueDialogScript(std::function<void(HWND)> script);
// What win32test::paint made of a window, for pixelAt; null if not painted.
void rememberPaintedImage(HWND window, const QImage& image);
const QImage* paintedImage(HWND window);
// Drops the scripted answers, the recordings and the painted images.
void clearTestRecords();

}  // namespace platform

#endif
