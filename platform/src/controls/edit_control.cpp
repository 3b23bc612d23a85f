// The "EDIT" control over QPlainTextEdit (multi-line) or QLineEdit. Its text
// is kept with CR LF line breaks, as Win32 keeps it; bare LF and CR set from
// outside are shown as line breaks too and read back as CR LF.
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "ansi_text.h"
#include "controls/control_test_access.h"
#include "gdi/gdi.h"
#include "windows/predefined_classes.h"
#include "windows/window.h"

namespace platform {

namespace {

// The address space that an editor takes for a text, measured with Qt 6.4
// and given a margin: about 250 bytes a line, the text itself in several
// forms, and some 40 bytes a character for the layout of a line on show, of
// which the longest counts.
constexpr std::size_t editorBytesPerLine = 256;
constexpr std::size_t editorBytesPerByte = 8;
constexpr std::size_t editorBytesPerShownByte = 48;

// Win32 text (CR LF) to the editor's (one '\n' per break). CR CR LF, Win32's
// mark of a wrapped line, is one break too.
QString linesForEditor(const std::string& text) {
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (text.compare(i, 3, "\r\r\n") == 0) {
                i += 2;
            } else if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            lines += '\n';
        } else {
            lines += text[i];
        }
    }
    return fromAnsi(lines);
}

std::string win32Lines(const QString& text) {
    const std::string lines = toAnsi(text);
    std::string result;
    result.reserve(lines.size() +
                   static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')));
    for (char c : lines) {
        if (c == '\n') {
            result += '\r';
        }
        result += c;
    }
    return result;
}

struct EditControl : ControlState, TypingTarget {
    HWND handle = nullptr;
    QPlainTextEdit* multiLine = nullptr;
    QLineEdit* singleLine = nullptr;
    bool settingText = false;

    QWidget* widget() const { return multiLine ? static_cast<QWidget*>(multiLine) : singleLine; }
    // The raw text: toPlainText would turn no-break spaces into spaces.
    QString editorText() const {
        if (!multiLine) {
            return singleLine->text();
        }
        QString text = multiLine->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        return text;
    }
    std::string text() const { return win32Lines(editorText()); }
    void setText(const std::string& text) {
        settingText = true;
        if (multiLine) {
            multiLine->setPlainText(linesForEditor(text));
        } else {
            singleLine->setText(linesForEditor(text));
        }
        settingText = false;
    }
    // Qt does not survive running out of memory inside setPlainText, so the
    // room that the text will take must be there before it goes in.
    static bool roomFor(std::string_view text) {
        std::size_t lines = 1;
        std::size_t longest = 0;
        std::size_t lineStart = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
                longest = std::max(longest, i - lineStart);
                lineStart = i + 1;
                lines += i < text.size() && (text[i] == '\n' || text.substr(i + 1, 1) != "\n");
            }
        }
        void* room = std::malloc(lines * editorBytesPerLine + text.size() * editorBytesPerByte +
                                 longest * editorBytesPerShownByte);
        std::free(room);
        return room != nullptr;
    }
    // Positions in the Win32 text count a line break as two characters.
    int editorPosition(int position) const {
        const QString text = editorText();
        int win32 = 0;
        int index = 0;
        for (; index < text.size() && win32 < position; ++index) {
            win32 += text[index] == QLatin1Char('\n') ? 2 : 1;
        }
        return index;
    }
    // The editor fills the window; its client area is what its scroll bars leave.
    void layout(Window& window) override { widget()->setGeometry(window.content->rect()); }
    void textChanged(Window& window) override { setText(window.text); }
    void fontChanged(Window& window) override { widget()->setFont(fontOf(window.font)); }
    bool type(const std::string& text) override;
};

EditControl* editOf(HWND handle) {
    Window* window = findWindow(handle);
    return window ? dynamic_cast<EditControl*>(window->control.get()) : nullptr;
}

void notifyChange(HWND handle) {
    const Window* window = findWindow(handle);
    const EditControl* edit = editOf(handle);
    if (!window || !edit || edit->settingText) {
        return;
    }
    SendMessageA(window->parent, WM_COMMAND, MAKEWPARAM(window->id, EN_CHANGE),
                 reinterpret_cast<LPARAM>(handle));
}

// Keeps the stand-in's focus in step when the user clicks into the editor.
class EditFocus : public QObject {
public:
    EditFocus(HWND handle, QObject* parent) : QObject(parent), handle_(handle) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && GetFocus() != handle_) {
            SetFocus(handle_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    HWND handle_;
};

void createEdit(Window& window, QWidget* content) {
    auto edit = std::make_unique<EditControl>();
    edit->handle = window.handle;
    const HWND handle = window.handle;
    if (window.style & ES_MULTILINE) {
        edit->multiLine = new QPlainTextEdit(content);
        edit->multiLine->setFrameShape(QFrame::NoFrame);
        edit->multiLine->setLineWrapMode((window.style & (WS_HSCROLL | ES_AUTOHSCROLL))
                                             ? QPlainTextEdit::NoWrap
                                             : QPlainTextEdit::WidgetWidth);
        // Win32 shows an editor's scroll bars from its creation on, without a
        // thumb while the text fits.
        edit->multiLine->setVerticalScrollBarPolicy(
            (window.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->multiLine->setHorizontalScrollBarPolicy(
            (window.style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->multiLine->setReadOnly(window.style & ES_READONLY);
        QObject::connect(edit->multiLine, &QPlainTextEdit::textChanged,
                         [handle] { notifyChange(handle); });
    } else {
        edit->singleLine = new QLineEdit(content);
        edit->singleLine->setFrame(false);
        edit->singleLine->setReadOnly(window.style & ES_READONLY);
        if (window.style & ES_PASSWORD) {
            edit->singleLine->setEchoMode(QLineEdit::Password);
        }
        QObject::connect(edit->singleLine, &QLineEdit::textChanged,
                         [handle] { notifyChange(handle); });
    }
    edit->widget()->installEventFilter(new EditFocus(handle, edit->widget()));
    edit->setText(window.text);
    window.client = edit->widget();
    if (edit->multiLine) {
        window.client = edit->multiLine->viewport();
        window.client->setFocusProxy(edit->multiLine);
    }
    window.control = std::move(edit);
}

void select(EditControl& edit, int start, int end) {
    if (start < 0) {
        start = end = static_cast<int>(edit.editorText().size());
    } else {
        start = edit.editorPosition(start);
        end = end < 0 ? static_cast<int>(edit.editorText().size()) : edit.editorPosition(end);
    }
    if (edit.multiLine) {
        QTextCursor cursor = edit.multiLine->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        edit.multiLine->setTextCursor(cursor);
    } else {
        edit.singleLine->setSelection(start, end - start);
    }
}

void replaceSelection(EditControl& edit, const char* text) {
    const QString replacement = linesForEditor(text ? text : "");
    if (edit.multiLine) {
        edit.multiLine->textCursor().insertText(replacement);
    } else {
        edit.singleLine->insert(replacement);
    }
}

bool EditControl::type(const std::string& text) {
    SetFocus(handle);
    QWidget* target = widget();
    const QString characters = fromAnsi(text);
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const bool newline = characters[i] == QLatin1Char('\n');
        const int key = newline ? Qt::Key_Return : 0;
        const qsizetype units = characters[i].isHighSurrogate() ? 2 : 1;
        const QString typed = newline ? QString() : characters.mid(i, units);
        i += units - 1;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
        QCoreApplication::sendEvent(target, &release);
    }
    return true;
}

LRESULT CALLBACK editProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    EditControl* edit = editOf(handle);
    if (!edit) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
        case WM_SETTEXT:
            if (lParam && !EditControl::roomFor(reinterpret_cast<const char*>(lParam))) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return FALSE;
            }
            return DefWindowProcA(handle, message, wParam, lParam);
        case WM_GETTEXT: {
            char* buffer = reinterpret_cast<char*>(lParam);
            if (!buffer || wParam == 0) {
                return 0;
            }
            const std::string text = edit->text();
            const std::size_t length = std::min(text.size(), static_cast<std::size_t>(wParam) - 1);
            std::memcpy(buffer, text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(edit->text().size());
        case EM_UNDO:
            if (edit->multiLine) {
                edit->multiLine->undo();
            } else {
                edit->singleLine->undo();
            }
            return TRUE;
        case EM_CANUNDO:
            return edit->multiLine ? edit->multiLine->document()->isUndoAvailable()
                                   : edit->singleLine->isUndoAvailable();
        case WM_CUT:
            if (edit->multiLine) {
                edit->multiLine->cut();
            }
            if (edit->singleLine) {
                edit->singleLine->cut();
            }
            return 0;
        case WM_COPY:
            if (edit->multiLine) {
                edit->multiLine->copy();
            }
            if (edit->singleLine) {
                edit->singleLine->copy();
            }
            return 0;
        case WM_PASTE:
            if (edit->multiLine) {
                edit->multiLine->paste();
            }
            if (edit->singleLine) {
                edit->singleLine->paste();
            }
            return 0;
        case WM_CLEAR:
            replaceSelection(*edit, "");
            return 0;
        case EM_SETSEL:
            select(*edit, static_cast<int>(wParam), static_cast<int>(lParam));
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace

void registerEditClass() {
    registerPredefinedClass("EDIT", editProc, createEdit,
                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
}

}  // namespace platform
