#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "workbench_fixture.h"

namespace {

const UINT speedCommands[] = {CMD_SPEED_125MS, CMD_SPEED_250MS, CMD_SPEED_500MS,
                              CMD_SPEED_1S,    CMD_SPEED_2S,    CMD_SPEED_3S};

std::vector<UINT> checkedSpeedItems(HWND frame) {
    std::vector<UINT> checked;
    for (UINT command : speedCommands) {
        if (win32test::menuItemChecked(frame, command)) {
            checked.push_back(command);
        }
    }
    return checked;
}

using StartUpTest = WorkbenchTest;

TEST_F(StartUpTest, FrameShowsItsTitleAnEmptyWorkspaceAndHalfASecondChecked) {
    EXPECT_EQ(win32test::windowText(frame), "ZARN Turing Machine");
    EXPECT_EQ(win32test::className(frame), "TMWINDOW");
    EXPECT_TRUE(win32test::isShown(frame));
    EXPECT_EQ(win32test::className(mdiClient), "MDICLIENT");
    EXPECT_TRUE(win32test::isShown(mdiClient));
    EXPECT_TRUE(documents().empty());
    EXPECT_EQ(activeDocument(), nullptr);
    EXPECT_EQ(checkedSpeedItems(frame), std::vector<UINT>{CMD_SPEED_500MS});
}

// What each pace means for a run is checked by the run control tests.
TEST_F(StartUpTest, EachSpeedItemTakesTheCheckMarkForItself) {
    for (UINT command : speedCommands) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(choose(command));
        EXPECT_EQ(checkedSpeedItems(frame), std::vector<UINT>{command});
    }
}

// Without a document every document command must vanish silently: no window,
// no dialog, no change to the frame.
using NoDocumentTest = WorkbenchTest;

TEST_F(NoDocumentTest, DocumentCommandsDoNothing) {
    const UINT commands[] = {CMD_SAVE,  CMD_SAVE_AS, CMD_CLOSE, CMD_UNDO, CMD_CUT,        CMD_COPY,
                             CMD_PASTE, CMD_DELETE,  CMD_RUN,   CMD_STOP, CMD_SAVE_OUTPUT};
    const std::vector<HWND> topLevel = win32test::topLevelWindows();
    const RECT frameRect = win32test::windowRect(frame);
    for (UINT command : commands) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(choose(command));
        EXPECT_TRUE(IsWindow(frame));
        EXPECT_TRUE(IsWindow(mdiClient));
        EXPECT_TRUE(documents().empty());
        EXPECT_EQ(win32test::topLevelWindows(), topLevel);
        EXPECT_TRUE(win32test::dialogsShown().empty());
        EXPECT_FALSE(win32test::quitPosted());
    }
    EXPECT_EQ(win32test::windowText(frame), "ZARN Turing Machine");
    EXPECT_EQ(win32test::windowRect(frame).right, frameRect.right);
    EXPECT_EQ(win32test::windowRect(frame).bottom, frameRect.bottom);
}

// Documents answer their commands in a later change; what matters here is that
// the frame sends each command to the active document, and to that one only.
class CommandRoutingTest : public WorkbenchTest {
protected:
    struct Received {
        HWND window;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool operator==(const Received&) const = default;
    };

    static LRESULT CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (recording) {
            received.push_back({window, message, wParam, lParam});
        }
        return DefMDIChildProcA(window, message, wParam, lParam);
    }

    void SetUp() override {
        WorkbenchTest::SetUp();
        WNDCLASSA recorderClass{};
        recorderClass.lpfnWndProc = recordingProc;
        recorderClass.hInstance = appInstance;
        recorderClass.lpszClassName = "RECORDER";
        ASSERT_NE(RegisterClassA(&recorderClass), 0);
        background = createRecorder();
        active = createRecorder();
        ASSERT_EQ(activeDocument(), active);
        received.clear();
        recording = true;
    }

    void TearDown() override {
        recording = false;
        WorkbenchTest::TearDown();
    }

    HWND createRecorder() {
        return CreateWindowExA(
            WS_EX_MDICHILD, "RECORDER", "Recorder", WS_VISIBLE | WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mdiClient, nullptr, appInstance, nullptr);
    }

    // The messages of `message`'s kind that the recorders received.
    std::vector<Received> receivedOf(UINT message) const {
        std::vector<Received> matching;
        for (const Received& entry : received) {
            if (entry.message == message) {
                matching.push_back(entry);
            }
        }
        return matching;
    }

    static inline std::vector<Received> received;
    static inline bool recording = false;
    HWND background = nullptr;
    HWND active = nullptr;
};

TEST_F(CommandRoutingTest, EachCommandReachesOnlyTheActiveDocumentAsItsMessage) {
    const std::pair<UINT, UINT> routes[] = {
        {CMD_SAVE, TMM_SAVE},   {CMD_SAVE_AS, TMM_SAVEAS},
        {CMD_UNDO, EM_UNDO},    {CMD_CUT, WM_CUT},
        {CMD_COPY, WM_COPY},    {CMD_PASTE, WM_PASTE},
        {CMD_DELETE, WM_CLEAR}, {CMD_RUN, CMD_RUN},
        {CMD_STOP, CMD_STOP},   {CMD_SAVE_OUTPUT, CMD_SAVE_OUTPUT},
    };
    for (const auto& [command, message] : routes) {
        SCOPED_TRACE(command);
        received.clear();
        ASSERT_TRUE(choose(command));
        EXPECT_EQ(receivedOf(message), (std::vector<Received>{{active, message, 0, 0}}));
    }
}

TEST_F(CommandRoutingTest, CloseDestroysOnlyTheActiveDocument) {
    ASSERT_TRUE(choose(CMD_CLOSE));
    EXPECT_FALSE(IsWindow(active));
    EXPECT_TRUE(IsWindow(background));
    EXPECT_EQ(documents(), std::vector<HWND>{background});
    EXPECT_TRUE(win32test::dialogsShown().empty());
}

using DocumentCreationTest = WorkbenchTest;

TEST_F(DocumentCreationTest, NewOpensAnUntitledDocumentThatBecomesActive) {
    HWND first = newDocument();
    HWND second = newDocument();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(documents(), (std::vector<HWND>{first, second}));
    EXPECT_EQ(activeDocument(), second);
    EXPECT_EQ(win32test::className(second), "TMCHILD");
    EXPECT_EQ(win32test::windowText(second), "Untitled");
    EXPECT_TRUE(win32test::isShown(second));
}

using ShutDownTest = WorkbenchTest;

TEST_F(ShutDownTest, ExitClosesEveryDocumentWithoutAsking) {
    const std::vector<HWND> open = {newDocument(), newDocument(), newDocument()};
    ASSERT_TRUE(choose(CMD_EXIT));
    EXPECT_FALSE(IsWindow(frame));
    for (HWND document : open) {
        EXPECT_FALSE(IsWindow(document));
    }
    EXPECT_TRUE(win32test::dialogsShown().empty());
    EXPECT_TRUE(win32test::quitPosted());
    EXPECT_EQ(win32test::quitCode(), 0);
}

}  // namespace
