// The test mode: scripted answers, simulated input and read-back for tests.
#include "test_mode.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>

#include "ansi_text.h"
#include "caption_buttons.h"
#include "menus.h"
#include "message_queue.h"
#include "timers.h"
#include "window.h"
#include "window_widget.h"

namespace platform {

std::vector<win32test::ListItem> listBoxItems(HWND handle);
int listBoxTopIndex(HWND handle);
int listBoxVisibleCount(HWND handle);
bool typeIntoEdit(HWND handle, const std::string& text);
bool clickTabOf(HWND handle, int index);

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

bool sendKey(HWND handle, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Window* window = findWindow(handle);
    if (!window)
        return false;
    QWidget* focus = window->widget->focusWidget();
    QWidget* target = focus && window->widget->isAncestorOf(focus) ? focus : window->client;
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
    return true;
}

int qtKey(UINT virtualKey) {
    static const std::map<UINT, int> keys = {
        {VK_RETURN, Qt::Key_Return}, {VK_ESCAPE, Qt::Key_Escape}, {VK_TAB, Qt::Key_Tab},
        {VK_F4, Qt::Key_F4},         {VK_F6, Qt::Key_F6},         {VK_LEFT, Qt::Key_Left},
        {VK_RIGHT, Qt::Key_Right},   {VK_UP, Qt::Key_Up},         {VK_DOWN, Qt::Key_Down},
        {VK_HOME, Qt::Key_Home},     {VK_END, Qt::Key_End},       {VK_PRIOR, Qt::Key_PageUp},
        {VK_NEXT, Qt::Key_PageDown}, {VK_DELETE, Qt::Key_Delete}, {VK_BACK, Qt::Key_Backspace},
        {VK_SPACE, Qt::Key_Space},
    };
    const auto found = keys.find(virtualKey);
    return found == keys.end() ? 0 : found->second;
}

QPushButton* defaultButton(HWND dialog) {
    const Window* window = findWindow(dialog);
    if (!window)
        return nullptr;
    QPushButton* okButton = nullptr;
    for (HWND child : window->children) {
        const Window* control = findWindow(child);
        auto* button = control ? dynamic_cast<QPushButton*>(control->client) : nullptr;
        if (!button)
            continue;
        if (button->isDefault())
            return button;
        if (control->id == IDOK)
            okButton = button;
    }
    return okButton;
}

std::function<void(HWND)> scriptFor(win32test::DialogAnswer answer) {
    switch (answer) {
        case win32test::DialogAnswer::Ok:
            return [](HWND dialog) {
                if (QPushButton* button = defaultButton(dialog)) {
                    button->click();
                } else {
                    failTest("the dialog has no default button to click");
                }
            };
        case win32test::DialogAnswer::Enter:
            return [](HWND dialog) { sendKey(dialog, Qt::Key_Return); };
        case win32test::DialogAnswer::Escape:
            return [](HWND dialog) { sendKey(dialog, Qt::Key_Escape); };
        case win32test::DialogAnswer::CloseBox:
            return [](HWND dialog) { win32test::clickCloseBox(dialog); };
    }
    return {};
}

// A click with the left button as the user's mouse makes it; a double click
// is a click, then a second press reported as a double click, and a release.
void sendClick(QWidget* widget, QPoint at, bool doubleClick) {
    const auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    if (!doubleClick)
        return;
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

RECT toRect(const QRect& rect) {
    return RECT{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
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
    if (state().dialogScripts.empty())
        return std::nullopt;
    std::function<void(HWND)> script = std::move(state().dialogScripts.front());
    state().dialogScripts.pop_front();
    return script;
}

void recordDialogShown(const std::string& caption) {
    if (state().enabled)
        state().dialogsShown.push_back(caption);
}

std::optional<std::function<int()>> takeMessageBoxAnswer() {
    if (state().messageBoxAnswers.empty())
        return std::nullopt;
    std::function<int()> answer = std::move(state().messageBoxAnswers.front());
    state().messageBoxAnswers.pop_front();
    return answer;
}

void recordMessageBox(const win32test::MessageBoxShown& shown) {
    state().messageBoxesShown.push_back(shown);
}

std::optional<FileDialogAnswer> takeFileDialogAnswer() {
    if (state().fileDialogAnswers.empty())
        return std::nullopt;
    FileDialogAnswer answer = std::move(state().fileDialogAnswers.front());
    state().fileDialogAnswers.pop_front();
    return answer;
}

void recordFileDialog(const win32test::FileDialogShown& shown) {
    state().fileDialogsShown.push_back(shown);
}

}  // namespace platform

using namespace platform;

// Fontconfig and Qt keep caches until the process ends, by design; the leak
// checker of sanitizer builds is told about those libraries and no others.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt6Core.so\n"
           "leak:libQt6Gui.so\n"
           "leak:libQt6Widgets.so\n";
}

namespace win32test {

void enable() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "win32-test";
        static char* argv[] = {name, nullptr};
        static QApplication* application = new QApplication(argc, argv);
        // The input devices that test input uses live in globals of Qt's own;
        // made now, they outlive the application deleted at exit.
        QPointingDevice::primaryPointingDevice();
        QInputDevice::primaryKeyboard();
        std::atexit([] { delete application; });
    }
    state().enabled = true;
}

bool isEnabled() {
    return state().enabled;
}

void reset() {
    for (HWND handle : allWindows()) {
        if (const Window* window = findWindow(handle); window && !window->parent)
            DestroyWindow(handle);
    }
    for (HWND handle : allWindows()) DestroyWindow(handle);
    unregisterApplicationClasses();
    resetQueue();
    resetTimers();
    dispatchPendingMessages();
    resetQueue();
    focusedWindow() = nullptr;
    state().dialogScripts.clear();
    state().dialogsShown.clear();
    state().drawCalls.clear();
    state().paintedImages.clear();
    state().messageBoxAnswers.clear();
    state().messageBoxesShown.clear();
    state().fileDialogAnswers.clear();
    state().fileDialogsShown.clear();
}

void advanceClock(unsigned milliseconds) {
    advanceVirtualClock(milliseconds);
}

unsigned long long clockNow() {
    return virtualClockNow();
}

void processPendingMessages() {
    dispatchPendingMessages();
}

bool quitPosted() {
    return quitWasPosted();
}

int quitCode() {
    return postedQuitCode();
}

void answerNextDialogWith(DialogAnswer answer) {
    state().dialogScripts.push_back(scriptFor(answer));
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

bool pressKey(HWND window, UINT virtualKey, bool control) {
    const int key = qtKey(virtualKey);
    if (!key || !sendKey(window, key, control ? Qt::ControlModifier : Qt::NoModifier))
        return false;
    dispatchPendingMessages();
    return true;
}

bool typeText(HWND edit, const std::string& text) {
    const bool typed = typeIntoEdit(edit, text);
    dispatchPendingMessages();
    return typed;
}

bool clickTab(HWND tabControl, int index) {
    const bool clicked = clickTabOf(tabControl, index);
    dispatchPendingMessages();
    return clicked;
}

bool chooseMenuCommand(HWND handle, UINT id) {
    const Window* window = findWindow(handle);
    if (!window || !window->menu)
        return false;
    QAction* action = findMenuAction(window->menu, id);
    if (!action || !action->isEnabled())
        return false;
    action->trigger();
    dispatchPendingMessages();
    return true;
}

bool clickCloseBox(HWND handle) {
    Window* window = findWindow(handle);
    if (!window)
        return false;
    if (window->isChild())
        return clickCaptionButton(handle, CaptionButton::Close);
    window->widget->close();
    dispatchPendingMessages();
    return true;
}

bool clickCaptionButton(HWND handle, CaptionButton button) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle))
        return false;
    std::optional<std::pair<QWidget*, QPoint>> target;
    if (window->style & WS_MAXIMIZE) {
        target = maximizedButtonPosition(GetParent(window->parent), handle, button);
    } else {
        for (const auto& [kind, box] : window->widget->captionButtons()) {
            if (kind == button)
                target = std::make_pair(static_cast<QWidget*>(window->widget), box.center());
        }
    }
    if (!target)
        return false;
    sendClick(target->first, target->second, false);
    dispatchPendingMessages();
    return true;
}

bool doubleClickCaption(HWND handle) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle) || (window->style & WS_MAXIMIZE))
        return false;
    const QRect title = window->widget->titleRect();
    if (title.isEmpty())
        return false;
    sendClick(window->widget, title.center(), true);
    dispatchPendingMessages();
    return true;
}

bool resizeClient(HWND handle, int width, int height) {
    Window* window = findWindow(handle);
    if (!window)
        return false;
    const QMargins margins = window->widget->nonClientMargins();
    window->widget->resize(width + margins.left() + margins.right(),
                           height + margins.top() + margins.bottom());
    layoutWindow(*window);
    reportGeometry(handle);
    dispatchPendingMessages();
    return true;
}

bool clickAt(HWND handle, int x, int y) {
    const Window* window = findWindow(handle);
    if (!window)
        return false;
    QWidget* target = window->client->childAt(x, y);
    if (!target)
        target = window->client;
    const QPointF at = target->mapFrom(window->client, QPoint(x, y));
    QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    dispatchPendingMessages();
    return true;
}

bool isShown(HWND handle) {
    return IsWindowVisible(handle) != FALSE;
}

RECT windowRect(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? toRect(windowRectangle(*window)) : RECT{};
}

RECT clientRect(HWND handle) {
    RECT rect{};
    GetClientRect(handle, &rect);
    return rect;
}

std::string windowText(HWND handle) {
    if (!findWindow(handle))
        return {};
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(handle)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(handle, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string clipboardText() {
    return toAnsi(QGuiApplication::clipboard()->text());
}

std::string className(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? window->windowClass->name : std::string();
}

std::vector<HWND> childWindows(HWND handle) {
    const Window* window = findWindow(handle);
    return window ? window->children : std::vector<HWND>();
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> result;
    for (HWND handle : allWindows()) {
        const Window* window = findWindow(handle);
        if (window && !window->isChild())
            result.push_back(handle);
    }
    return result;
}

std::vector<MenuItem> menuItems(HMENU menu) {
    return menuItemsOf(menu);
}

bool menuItemChecked(HMENU menu, UINT id) {
    const UINT state = GetMenuState(menu, id, MF_BYCOMMAND);
    return state != UINT(-1) && (state & MF_CHECKED);
}

bool menuItemChecked(HWND handle, UINT id) {
    return menuItemChecked(GetMenu(handle), id);
}

std::vector<ListItem> listItems(HWND listBox) {
    return listBoxItems(listBox);
}

int listTopIndex(HWND listBox) {
    return listBoxTopIndex(listBox);
}

int listSelectedIndex(HWND listBox) {
    return findWindow(listBox) ? static_cast<int>(SendMessageA(listBox, LB_GETCURSEL, 0, 0))
                               : LB_ERR;
}

int listVisibleItemCount(HWND listBox) {
    return listBoxVisibleCount(listBox);
}

void paint(HWND handle) {
    const Window* window = findWindow(handle);
    if (!window || !IsWindowVisible(handle))
        return;
    QImage image(window->widget->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    window->widget->render(&image);
    state().paintedImages[handle] = image;
}

COLORREF pixelAt(HWND handle, int x, int y) {
    const Window* window = findWindow(handle);
    const auto painted = state().paintedImages.find(handle);
    if (!window || painted == state().paintedImages.end())
        return CLR_INVALID;
    const QPoint at = window->client->mapTo(window->widget, QPoint(x, y));
    if (!painted->second.rect().contains(at))
        return CLR_INVALID;
    const QColor color = painted->second.pixelColor(at);
    return RGB(color.red(), color.green(), color.blue());
}

const std::vector<DrawCall>& drawCalls() {
    return state().drawCalls;
}

void clearDrawCalls() {
    state().drawCalls.clear();
}

}  // namespace win32test
