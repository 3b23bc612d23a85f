// Every command of the workbench run again and again, each time with one more
// of the program's own allocations failing: the first, the second, ... up to
// the last that the command makes.
#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <filesystem>
#include <string>

#include "failing_allocation.h"
#include "workbench_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string smallMachine = "tape(1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,h,1,R)\r\n";

// Forty states walking right over a tape of ones, with a comment and a line
// the parser does not know: every kind of line the parser allocates for.
std::string longDescription() {
    std::string text = "; a long walk\r\ntape(" + std::string(40, '1') + ")\r\nstart(s0)\r\n";
    text += "finish(done)\r\nnot a rule\r\n";
    for (int state = 0; state < 40; ++state) {
        text += "(s" + std::to_string(state) + ",1,s" + std::to_string(state + 1) + ",0,R)\r\n";
    }
    return text + "(s40,^,done,^,N)\r\n";
}

struct Session {
    std::string folder;
    HWND frame;
    HWND document = nullptr;

    void newDocument() {
        SendMessageA(frame, WM_COMMAND, CMD_NEW, 0);
        document = reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    }
    void setText(const std::string& text) const {
        SetWindowTextA(documentData(document)->editor, text.c_str());
    }
    void run(const std::string& text) const {
        setText(text);
        SendMessageA(document, CMD_RUN, 0, 0);
    }
    void write(const char* name, const std::string& bytes) const {
        writeBytes(folder + name, bytes);
    }
    void answerFileDialog(const char* name) const {
        win32test::answerNextFileDialogWith(folder + name);
    }
};

struct Command {
    const char* name;
    void (*prepare)(Session&);
    void (*act)(Session&);
    // A step that failed must not be tried again at every tick.
    bool failureStopsTheRun = false;
};

const Command commands[] = {
    {"Run on a long description while a machine runs",
     [](Session& s) {
         s.newDocument();
         s.run("tape(1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,a,1,R)\r\n(a,^,a,^,R)\r\n");
         win32test::advanceClock(3 * reportPeriod);
         s.setText(longDescription());
     },
     [](Session& s) { SendMessageA(s.document, CMD_RUN, 0, 0); }},
    {"Save as",
     [](Session& s) {
         s.write("machine.txt", "earlier");
         s.newDocument();
         s.setText(longDescription());
         s.answerFileDialog("machine.txt");
     },
     [](Session& s) { SendMessageA(s.document, TMM_SAVEAS, 0, 0); }},
    {"Save output",
     [](Session& s) {
         s.write("output.txt", "earlier");
         s.newDocument();
         s.run(smallMachine);
         win32test::advanceClock(3 * reportPeriod);
         s.answerFileDialog("output.txt");
     },
     [](Session& s) { SendMessageA(s.document, CMD_SAVE_OUTPUT, 0, 0); }},
    {"Open",
     [](Session& s) {
         s.write("machine.txt", longDescription() + '\0');
         s.answerFileDialog("machine.txt");
     },
     [](Session& s) { SendMessageA(s.frame, WM_COMMAND, CMD_OPEN, 0); }},
    {"The ticks of the first two steps",
     [](Session& s) {
         s.newDocument();
         s.run(longDescription());
         win32test::advanceClock(reportPeriod - 125);
     },
     [](Session&) { win32test::advanceClock(reportPeriod + 125); }, true},
};

// What the workbench held before the command and after it.
struct Outcome {
    Files filesBefore;
    Files files;
    std::size_t documentsBefore;
    std::size_t documents;
    long long allocations;
};

class AllocationSweep : public WorkbenchFolderTest {
protected:
    // The command on a fresh workbench, with its nth allocation failing (none for 0).
    Outcome attempt(const Command& command, long long nth) {
        win32test::reset();
        fs::remove_all(folder);
        fs::create_directories(folder);
        initApplication(GetModuleHandleA(nullptr));
        session = Session{folder, GetParent(mdiClient)};
        command.prepare(session);
        for (int box = 0; box < 4; ++box) {
            win32test::answerNextMessageBoxWith(IDOK);
        }
        Outcome outcome{filesIn(folder), {}, win32test::childWindows(mdiClient).size(), 0, 0};
        failingAllocation::arm(nth);
        command.act(session);
        outcome.allocations = failingAllocation::disarm();
        outcome.files = filesIn(folder);
        outcome.documents = win32test::childWindows(mdiClient).size();
        return outcome;
    }

    // The box says why; the machines that run go on, and every document left
    // runs a machine to its end.
    void expectTheWorkbenchGoesOn() {
        ASSERT_TRUE(IsWindow(session.frame));
        bool told = false;
        for (const win32test::MessageBoxShown& box : win32test::messageBoxesShown()) {
            told = told || box.text.find("\nNot enough memory") != std::string::npos;
        }
        EXPECT_TRUE(told) << "no box said \"Not enough memory\"";
        win32test::advanceClock(reportPeriod);
        for (HWND document : win32test::childWindows(mdiClient)) {
            session.document = document;
            session.run(smallMachine);
            win32test::advanceClock(3 * reportPeriod);
            const auto states = win32test::listItems(documentData(document)->statesLog);
            EXPECT_TRUE(!states.empty() && states.back().text == "Finished!")
                << "a document does not run";
        }
    }

    Session session;
};

TEST_F(AllocationSweep, EveryCommandSurvivesEachOfItsAllocationsFailing) {
    for (const Command& command : commands) {
        const Outcome whole = attempt(command, 0);
        ASSERT_GT(whole.allocations, 0) << command.name << " allocates nothing";
        std::printf("%s: %lld allocations\n", command.name, whole.allocations);
        for (long long nth = 1; nth <= whole.allocations && !HasFailure(); ++nth) {
            SCOPED_TRACE(std::string(command.name) + ", allocation " + std::to_string(nth) +
                         " of " + std::to_string(whole.allocations) + " failing");
            const Outcome failed = attempt(command, nth);
            EXPECT_GE(failed.allocations, nth) << "the failing allocation was never made";
            EXPECT_TRUE(failed.documents == failed.documentsBefore ||
                        failed.documents == whole.documents);
            EXPECT_TRUE(failed.files == failed.filesBefore || failed.files == whole.files)
                << "the files are neither as they were nor as the whole command left them";
            if (command.failureStopsTheRun) {
                EXPECT_EQ(documentData(session.document)->stepping, 0);
            }
            expectTheWorkbenchGoesOn();
        }
    }
}

}  // namespace
