// The test mode's state: whether it is on, the scripted answers that dialogs
// and message boxes take, and what was shown and drawn.
#include "test_mode/test_mode.h"

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

namespace platform {

namespace {

struct TestMode {
    bool enabled = false;
    std::deque<std::function<void(HWND)>> dialogScripts;
    std::vector<std::string> dialogsShown;
    std::vector<win32test::DrawCall> drawCalls;
    std::map<HWND, QImage> paintedImages;
    std::deque<std::function<int()>> messageBoxAnswers;
    std::vector<win32test::MessageBoxShown> messageBoxesShown;
    std::deque<FileDialogAnswer> fileDialogAnswers;
    std::vector<win32test::FileDialogShown> fileDialogsShown;
};

TestMode& state() {
    static TestMode instance;
    return instance;
}

}  // namespace

bool testMode() {
    return state().enabled;
}

void failTest(const std::string& what) {
    std::fprintf(stderr, "win32 test mode: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::vector<win32test::DrawCall>* drawRecording() {
    return state().enabled ? &state().drawCalls : nullptr;
}

std::optional<std::function<void(HWND)>> takeDialogScript() {
    if (state().dialogScripts.empty()) {
        return std::nullopt;
    }
    std::function<void(HWND)> script = std::move(state().dialogScripts.front());
    state().dialogScripts.pop_front();
    return script;
}

void recordDialogShown(const std::string& caption) {
    if (state().enabled) {
        state().dialogsShown.push_back(caption);
    }
}

std::optional<std::function<int()>> takeMessageBoxAnswer() {
    if (state().messageBoxAnswers.empty()) {
        return std::nullopt;
    }
    std::function<int()> answer = std::move(state().messageBoxAnswers.front());
    state().messageBoxAnswers.pop_front();
    return answer;
}

void recordMessageBox(const win32test::MessageBoxShown& shown) {
    state().messageBoxesShown.push_back(shown);
}

std::optional<FileDialogAnswer> takeFileDialogAnswer() {
    if (state().fileDialogAnswers.empty()) {
        return std::nullopt;
    }
    FileDialogAnswer answer = std::move(state().fileDialogAnswers.front());
    state().fileDialogAnswers.pop_front();
    return answer;
}

void recordFileDialog(const win32test::FileDialogShown& shown) {
    state().fileDialogsShown.push_back(shown);
}

void setTestMode(bool enabled) {
    state().enabled = enabled;
}

void queueDialogScript(std::function<void(HWND)> script) {
    state().dialogScripts.push_back(std::move(script));
}

void rememberPaintedImage(HWND window, const QImage& image) {
    state().paintedImages[window] = image;
}

const QImage* paintedImage(HWND window) {
    const auto found = state().paintedImages.find(window);
    return found == state().paintedImages.end() ? nullptr : &found->second;
}

void clearTestRecords() {
    state().dialogScripts.clear();
    state().dialogsShown.clear();
    state().drawCalls.clear();
    state().paintedImages.clear();
    state().messageBoxAnswers.clear();
    state().messageBoxesShown.clear();
    state().fileDialogAnswers.clear();
    state().fileDialogsShown.clear();
}

}  // namespace platform

using namespace platform;

namespace win32test {

bool isEnabled() {
    return state().enabled;
}

void scriptNextDialog(std::function<void(HWND dialog)> script) {
    state().dialogScripts.push_back(std::move(script));
}

int dialogAnswersLeft() {
    return static_cast<int>(state().dialogScripts.size());
}

std::vector<std::string> dialogsShown() {
    return state().dialogsShown;
}

void answerNextMessageBoxWith(int id) {
    state().messageBoxAnswers.push_back([id] { return id; });
}

void scriptNextMessageBox(std::function<int()> whileOpen) {
    state().messageBoxAnswers.push_back(std::move(whileOpen));
}

const std::vector<MessageBoxShown>& messageBoxesShown() {
    return state().messageBoxesShown;
}

void answerNextFileDialogWith(const std::string& path, std::function<void()> whileOpen) {
    state().fileDialogAnswers.push_back({std::move(whileOpen), path});
}

void cancelNextFileDialog(std::function<void()> whileOpen) {
    state().fileDialogAnswers.push_back({std::move(whileOpen), std::nullopt});
}

const std::vector<FileDialogShown>& fileDialogsShown() {
    return state().fileDialogsShown;
}

const std::vector<DrawCall>& drawCalls() {
    return state().drawCalls;
}

void clearDrawCalls() {
    state().drawCalls.clear();
}

}  // namespace win32test
