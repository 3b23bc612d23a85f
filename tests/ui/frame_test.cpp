#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "workbench_fixture.h"

namespace {

struct Speed {
    UINT command;
    int ticks;
};

const Speed speeds[] = {
    {CMD_SPEED_125MS, 1}, {CMD_SPEED_250MS, 2}, {CMD_SPEED_500MS, 4},
    {CMD_SPEED_1S, 8},    {CMD_SPEED_2S, 16},   {CMD_SPEED_3S, 24},
};

std::vector<UINT> checkedSpeedItems(HWND frame) {
    std::vector<UINT> checked;
    for (const Speed& speed : speeds) {
        if (win32test::menuItemChecked(frame, speed.command)) {
            checked.push_back(speed.command);
        }
    }
    return checked;
}

using StartUpTest = WorkbenchTest;

TEST_F(StartUpTest, FrameShowsItsTitleAndAnEmptyWorkspace) {
    EXPECT_EQ(win32test::windowText(frame), "ZARN Turing Machine");
    EXPECT_EQ(win32test::className(frame), "TMWINDOW");
    EXPECT_TRUE(win32test::isShown(frame));
    EXPECT_EQ(win32test::className(mdiClient), "MDICLIENT");
    EXPECT_TRUE(win32test::isShown(mdiClient));
    EXPECT_TRUE(documents().empty());
    EXPECT_EQ(activeDocument(), nullptr);
}

TEST_F(StartUpTest, WorkspaceFillsTheFrameAndFollowsItsSize) {
    ASSERT_TRUE(win32test::resizeClient(frame, 640, 480));
    const RECT client = win32test::windowRect(mdiClient);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

TEST_F(StartUpTest, PaceIsHalfASecondWithItsItemChecked) {
    EXPECT_EQ(speedTicks, 4);
    EXPECT_EQ(checkedSpeedItems(frame), std::vector<UINT>{CMD_SPEED_500MS});
}

using SpeedMenuTest = WorkbenchTest;

TEST_F(SpeedMenuTest, EachItemSetsThePaceAndMovesTheCheckMark) {
    for (const Speed& speed : speeds) {
        SCOPED_TRACE(speed.ticks);
        ASSERT_TRUE(choose(speed.command));
        EXPECT_EQ(speedTicks, speed.ticks);
        EXPECT_EQ(checkedSpeedItems(frame), std::vector<UINT>{speed.command});
    }
}

TEST_F(SpeedMenuTest, ChoosingTheCheckedItemAgainChangesNothing) {
    choose(CMD_SPEED_125MS);
    choose(CMD_SPEED_125MS);
    EXPECT_EQ(speedTicks, 1);
    EXPECT_EQ(checkedSpeedItems(frame), std::vector<UINT>{CMD_SPEED_125MS});
}

TEST_F(SpeedMenuTest, PaceThatMatchesNoItemClearsEveryMark) {
    checkSpeedMenu(GetMenu(frame), 3);
    EXPECT_TRUE(checkedSpeedItems(frame).empty());
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
    EXPECT_EQ(speedTicks, 4);
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
        {CMD_SAVE, TMM_SAVE}, {CMD_SAVE_AS, TMM_SAVEAS}, {CMD_UNDO, EM_UNDO},    {CMD_CUT, WM_CUT},
        {CMD_COPY, WM_COPY},  {CMD_PASTE, WM_PASTE},     {CMD_DELETE, WM_CLEAR}, {CMD_RUN, 40027},
        {CMD_STOP, 40029},    {CMD_SAVE_OUTPUT, 40037},
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

TEST_F(ShutDownTest, AfterTheLoopEveryClassIsUnregistered) {
    choose(CMD_EXIT);
    unregisterClasses(appInstance);
    WNDCLASSA info;
    for (const char* name : {"TMWINDOW", "TMCHILD", "LBOWNER"}) {
        EXPECT_FALSE(GetClassInfoA(appInstance, name, &info)) << name;
    }
}

}  // namespace
