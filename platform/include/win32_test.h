// Test mode of the Win32 stand-in: a virtual clock, scripted answers for modal
// dialogs, simulated user input and read-back of what the windows show, so that
// front-end tests never sleep and never block. Used only by tests.
#ifndef ZARN_PLATFORM_WIN32_TEST_H
#define ZARN_PLATFORM_WIN32_TEST_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win32test {

// Switches the stand-in into test mode. Call once, before the first window is
// created. Creates the QApplication (offscreen unless QT_QPA_PLATFORM says
// otherwise) unless the test program has made one already.
void enable();
bool isEnabled();

// Destroys every remaining window, unregisters every application class, drops
// posted messages, the quit flag, timers, scripted answers and recordings, and
// sets the virtual clock back to 0.
void reset();

// The virtual clock. Timers fire only when a test advances it: every timer
// that falls due on the way sends its WM_TIMER (or calls its TIMERPROC), in
// order of due time, once per period passed.
void advanceClock(unsigned milliseconds);
unsigned long long clockNow();

// Runs posted messages and pending Qt events (painting, deferred deletions)
// until none is left, without ever waiting. A posted WM_QUIT is not consumed.
void processPendingMessages();
bool quitPosted();
int quitCode();

// Scripted answers for modal dialogs (DialogBoxParamA). When a dialog opens it
// takes the oldest answer and applies it as real input; if the dialog is still
// open afterwards it takes the next one. A dialog that finds no answer prints
// what it was and aborts the test program rather than hang.
enum class DialogAnswer {
    Ok,       // a click on the default push button
    Enter,    // the Enter key
    Escape,   // the Escape key
    CloseBox  // the close box of the dialog's caption
};
void answerNextDialogWith(DialogAnswer answer);
void scriptNextDialog(std::function<void(HWND dialog)> script);
int dialogAnswersLeft();
// Every dialog opened so far: its caption, in order.
std::vector<std::string> dialogsShown();

// Scripted answers for message boxes: the id of the button the user presses
// (IDOK, IDCANCEL, IDYES, ...). A message box with no answer left fails the
// test program loudly, like a dialog.
struct MessageBoxShown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};
void answerNextMessageBoxWith(int id);
// Runs the test's own code while the box is open (advancing the clock, say, so
// that timers fire behind it), then presses the button whose id it returns.
void scriptNextMessageBox(std::function<int()> whileOpen);
const std::vector<MessageBoxShown>& messageBoxesShown();

// Scripted answers for the open and save file dialogs: the path the user
// chooses, or a cancel. `whileOpen` runs first, as the dialog stands open (a
// test may advance the clock there, so that timers fire behind the dialog).
// As the real dialog stays open, the next answer is taken when the chosen path
// names a folder, lies in a missing folder under OFN_PATHMUSTEXIST, or names a
// missing file under OFN_FILEMUSTEXIST.
struct FileDialogShown {
    HWND owner;
    bool save;
    std::string title;
    std::string initialFile;           // lpstrFile when the dialog opened
    std::vector<std::string> filters;  // description, pattern, description, ...
    DWORD flags;
    std::string defaultExtension;
    DWORD structSize;
    HINSTANCE instance;
    DWORD filterIndex;
    DWORD maxFile;
    DWORD maxFileTitle;  // 0 when there is no lpstrFileTitle
};
void answerNextFileDialogWith(const std::string& path, std::function<void()> whileOpen = {});
void cancelNextFileDialog(std::function<void()> whileOpen = {});
const std::vector<FileDialogShown>& fileDialogsShown();

// Simulated user input. Each call ends by processing pending messages.
// chooseMenuCommand finds the item in the window's menu bar and triggers it as
// a click would (the command reaches the window procedure as WM_COMMAND);
// false when the window has no enabled item with that id.
bool chooseMenuCommand(HWND window, UINT id);
bool clickCloseBox(HWND window);
// A click on a button of a document's caption, or of the frame's menu bar
// while the document is maximised; false when that button is not shown.
enum class CaptionButton { Minimize, Maximize, Restore, Close };
bool clickCaptionButton(HWND window, CaptionButton button);
// A double click on the title of a document's caption.
bool doubleClickCaption(HWND window);
// Resizes a window so that its client area becomes width x height.
bool resizeClient(HWND window, int width, int height);
// A click with the left button at a point of the window's client area.
bool clickAt(HWND window, int x, int y);
// A key pressed and released in the window (VK_RETURN, VK_ESCAPE, VK_TAB,
// VK_F4, VK_F6, the arrows, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_DELETE,
// VK_BACK, VK_SPACE), with Ctrl held down if `control`.
bool pressKey(HWND window, UINT virtualKey, bool control = false);
// Keys typed into an "EDIT" control, one per character ('\n' is Enter).
bool typeText(HWND edit, const std::string& text);
// A click on a tab of a "SysTabControl32".
bool clickTab(HWND tabControl, int index);

// Read-back.
bool isShown(HWND window);     // WS_VISIBLE on it and every ancestor
RECT windowRect(HWND window);  // outer rectangle, parent client coordinates
RECT clientRect(HWND window);  // client area, in its own coordinates
std::string windowText(HWND window);
std::string clipboardText();  // the text on the real clipboard, as the program would paste it
std::string className(HWND window);
std::vector<HWND> childWindows(HWND window);  // direct children, creation order
std::vector<HWND> topLevelWindows();

struct MenuItem {
    UINT id;           // 0 for separators and popups
    std::string text;  // as given, with its '&'
    bool separator;
    bool popup;
    bool checked;
    bool grayed;
};
std::vector<MenuItem> menuItems(HMENU menu);
bool menuItemChecked(HMENU menu, UINT id);
bool menuItemChecked(HWND window, UINT id);  // searched in the window's whole menu

struct ListItem {
    std::string text;
    LPARAM data;
};
std::vector<ListItem> listItems(HWND listBox);
int listTopIndex(HWND listBox);
int listSelectedIndex(HWND listBox);  // LB_ERR when none
// How many item rows the client area shows, at least partly, filled or not.
int listVisibleItemCount(HWND listBox);

// Paints the window and its children now, as the screen would, into an image
// that pixelAt reads (client coordinates). Hidden windows paint nothing.
void paint(HWND window);
COLORREF pixelAt(HWND window, int x, int y);

// What each WM_DRAWITEM drew. Coordinates are in the control's client
// coordinates, exactly as passed to TextOutA, MoveToEx and LineTo.
struct TextDrawn {
    int x;
    int y;
    std::string text;
};
struct LineDrawn {
    int x0;
    int y0;
    int x1;
    int y1;
};
struct DrawCall {
    HWND control;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    RECT rcItem;
    LRESULT result;
    std::vector<TextDrawn> texts;
    std::vector<LineDrawn> lines;
};
const std::vector<DrawCall>& drawCalls();
void clearDrawCalls();

}  // namespace win32test

#endif
