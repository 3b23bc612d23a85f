// The stand-in outside its test mode: real timers, GetMessageA waiting in Qt's
// event loop, and modal loops that keep dispatching while the user decides.
// The "user" here is a zero-delay Qt timer that acts on the open dialog.
#include <commdlg.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "stand_in_ids.h"

namespace {

int timerTicks = 0;

LRESULT CALLBACK tickingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER)
        ++timerTicks;
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message != WM_COMMAND)
        return FALSE;
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
}

// Acts on the modal window once it is open, after `ticks` timer ticks.
void whenModalOpens(int ticks, std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, ticks, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || timerTicks < ticks)
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
    });
    poll->start(5);
}

class RealMode : public testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "real-mode";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete application;
        application = nullptr;
    }
    void SetUp() override {
        timerTicks = 0;
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = tickingProc;
        windowClass.lpszClassName = "TICKING";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(0, "TICKING", "Ticking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        SetTimer(window, 1, 10, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassA("TICKING", nullptr);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    HWND window = nullptr;
    static QApplication* application;
};

QApplication* RealMode::application = nullptr;

TEST_F(RealMode, GetMessageWaitsForTheTimerAndHoldsOneTickAtATime) {
    MSG message{};
    ASSERT_TRUE(GetMessageA(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(message.hwnd, window);
    EXPECT_EQ(message.wParam, 1u);
    DispatchMessageA(&message);
    EXPECT_EQ(timerTicks, 1);
    QEventLoop wait;
    QTimer::singleShot(60, &wait, &QEventLoop::quit);
    wait.exec();
    int pending = 0;
    while (PeekMessageA(&message, window, WM_TIMER, WM_TIMER, PM_REMOVE)) ++pending;
    EXPECT_EQ(pending, 1);
}

TEST_F(RealMode, TimersTickBehindAMessageBox) {
    whenModalOpens(3, [](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) {
            ADD_FAILURE() << "no message box";
            modal->close();
            return;
        }
        EXPECT_EQ(box->text(), "Unable to run\nErrors in turing machine");
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MessageBoxA(window, "Unable to run\nErrors in turing machine", "Error",
                          MB_OK | MB_ICONERROR),
              IDOK);
    EXPECT_GE(timerTicks, 3);
}

TEST_F(RealMode, TheAboutBoxClosesOnEnterWhileTimersTick) {
    whenModalOpens(2, [](QWidget* modal) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(modal, &enter);
    });
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TEST_ABOUT), window,
                              aboutProc, 0),
              IDOK);
    EXPECT_GE(timerTicks, 2);
    EXPECT_TRUE(IsWindowEnabled(window));
}

// What the user types into the name box of the open file dialog, then Enter.
void chooseInFileDialog(QWidget* modal, const std::string& name) {
    auto* chooser = qobject_cast<QFileDialog*>(modal);
    auto* box = chooser ? chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (!box) {
        ADD_FAILURE() << "no file dialog with a name box";
        modal->close();
        return;
    }
    box->setText(QString::fromStdString(name));
    static_cast<QDialog*>(chooser)->accept();
}

TEST_F(RealMode, TimersTickWhileAMenuOfTheMenuBarIsOpen) {
    SetMenu(window, LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TEST_MENU)));
    QMenuBar* bar = nullptr;
    for (QWidget* topLevel : QApplication::topLevelWidgets()) {
        if (!bar)
            bar = topLevel->findChild<QMenuBar*>();
    }
    ASSERT_NE(bar, nullptr);
    // As a click on "File" would, from the program's own message loop.
    QTimer::singleShot(0, bar, [bar] { bar->setActiveAction(bar->actions().first()); });
    MSG message{};
    bool openWhileTicking = false;
    while (timerTicks < 3 && GetMessageA(&message, nullptr, 0, 0)) {
        DispatchMessageA(&message);
        if (timerTicks > 0)
            openWhileTicking = QApplication::activePopupWidget() != nullptr;
    }
    EXPECT_TRUE(openWhileTicking);
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
}

class RealFileDialog : public RealMode {
protected:
    void SetUp() override {
        RealMode::SetUp();
        dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        dialog.hwndOwner = window;
        dialog.lpstrFilter = "Text files\0*.txt\0All files\0*.*\0";
        dialog.lpstrFile = path;
        dialog.nMaxFile = sizeof path;
        dialog.lpstrFileTitle = title;
        dialog.nMaxFileTitle = sizeof title;
        dialog.lpstrTitle = "Save file";
        dialog.Flags = OFN_PATHMUSTEXIST;
        dialog.lpstrDefExt = "txt";
    }
    char path[300] = "";
    char title[200] = "";
    OPENFILENAMEA dialog{};
};

TEST_F(RealFileDialog, GivesBackTheChosenName) {
    const std::string chosen = testing::TempDir() + "chosen";
    whenModalOpens(1, [chosen](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Save file");
        chooseInFileDialog(modal, chosen);
    });
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(std::string(path), chosen + ".txt");
    EXPECT_STREQ(title, "chosen.txt");
}

// Qt's own dialog would close on a name in a folder that does not exist.
TEST_F(RealFileDialog, SaysSoAndStaysOpenOnANameInAMissingFolder) {
    const std::string missing = testing::TempDir() + "missing-folder/chosen.txt";
    const std::string chosen = testing::TempDir() + "chosen.txt";
    QString said;
    whenModalOpens(1, [&](QWidget* modal) {
        whenModalOpens(1, [&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            if (!message) {
                ADD_FAILURE() << "no message box";
                box->close();
                return;
            }
            said = message->text();
            whenModalOpens(1, [&](QWidget* stillOpen) { chooseInFileDialog(stillOpen, chosen); });
            message->button(QMessageBox::Ok)->click();
        });
        chooseInFileDialog(modal, missing);
    });
    ASSERT_TRUE(GetSaveFileNameA(&dialog));
    EXPECT_EQ(said.toStdString(), missing + "\nPath does not exist.");
    EXPECT_EQ(std::string(path), chosen);
}

}  // namespace
