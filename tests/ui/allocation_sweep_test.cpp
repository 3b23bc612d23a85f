// Every command of the workbench run again and again, each time with one more
// of the program's own allocations failing: the first, the second, ... up to
// the last that the command makes.
#include <gtest/gtest.h>
#include <win32_test.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "failing_allocation.h"
#include "ui/app_shell.h"
#include "ui/document_data.h"
#include "ui/workbench.h"

namespace {

namespace fs = std::filesystem;

using Files = std::map<std::string, std::string>;

const std::string smallMachine = "tape(1)\r\nstart(a)\r\nfinish(h)\r\n(a,1,h,1,R)\r\n";
// At the default speed a step is reported every fifth tick of 125 ms.
constexpr unsigned reportPeriod = 5 * 125;

// Forty states walking right over a tape of ones, with comments and a line
// the parser does not know: every kind of line the parser allocates for.
std::string longDescription() {
    std::string text = "; a long walk\r\ntape(" + std::string(40, '1') + ")\r\nstart(s0)\r\n";
    text += "finish(done)\r\nnot a rule\r\n";
    for (int state = 0; state < 40; ++state) {
        text += "(s" + std::to_string(state) + ",1,s" + std::to_string(state + 1) + ",0,R)\r\n";
    }
    return text + "(s40,^,done,^,N)\r\n";
}

Files filesIn(const fs::path& folder) {
    Files files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        std::ifstream file(entry.path(), std::ios::binary);
        files[entry.path().filename().string()] = {std::istreambuf_iterator<char>(file),
                                                   std::istreambuf_iterator<char>()};
    }
    return files;
}

std::optional<std::string> fileOf(const Files& files, const std::string& name) {
    const auto found = files.find(name);
    return found == files.end() ? std::nullopt : std::optional(found->second);
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// One fresh workbench with its folder; the command's own document, if any.
struct Session {
    fs::path folder;
    HWND frame = nullptr;
    HWND document = nullptr;

    HWND activeDocument() const {
        return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, 0));
    }
    HWND newDocument() {
        SendMessageA(frame, WM_COMMAND, CMD_NEW, 0);
        return document = activeDocument();
    }
    void setText(const std::string& text) const {
        SetWindowTextA(documentData(document)->editor, text.c_str());
    }
    void run(const std::string& text) const {
        setText(text);
        SendMessageA(document, CMD_RUN, 0, 0);
    }
};

struct Command {
    const char* name;
    void (*prepare)(Session&);
    void (*act)(Session&);
};

const Command commands[] = {
    {"Run on a long description",
     [](Session& s) {
         s.newDocument();
         s.setText(longDescription());
     },
     [](Session& s) { SendMessageA(s.document, CMD_RUN, 0, 0); }},
    {"Save",
     [](Session& s) {
         s.newDocument();
         s.setText("earlier");
         win32test::answerNextFileDialogWith((s.folder / "machine.txt").string());
         SendMessageA(s.document, TMM_SAVE, 0, 0);
         s.setText(longDescription());
     },
     [](Session& s) { SendMessageA(s.document, TMM_SAVE, 0, 0); }},
    {"Save as",
     [](Session& s) {
         writeFile(s.folder / "machine.txt", "earlier");
         s.newDocument();
         s.setText(longDescription());
         win32test::answerNextFileDialogWith((s.folder / "machine.txt").string());
     },
     [](Session& s) { SendMessageA(s.document, TMM_SAVEAS, 0, 0); }},
    {"Save output",
     [](Session& s) {
         writeFile(s.folder / "output.txt", "earlier");
         s.newDocument();
         s.run(smallMachine);
         win32test::advanceClock(3 * reportPeriod);
         win32test::answerNextFileDialogWith((s.folder / "output.txt").string());
     },
     [](Session& s) { SendMessageA(s.document, CMD_SAVE_OUTPUT, 0, 0); }},
    {"Open",
     [](Session& s) {
         writeFile(s.folder / "machine.txt", longDescription() + '\0');
         win32test::answerNextFileDialogWith((s.folder / "machine.txt").string());
     },
     [](Session& s) { SendMessageA(s.frame, WM_COMMAND, CMD_OPEN, 0); }},
    {"New", [](Session&) {}, [](Session& s) { SendMessageA(s.frame, WM_COMMAND, CMD_NEW, 0); }},
    {"The ticks of the first two steps",
     [](Session& s) {
         s.newDocument();
         s.run(longDescription());
         win32test::advanceClock(reportPeriod - 125);
     },
     [](Session&) { win32test::advanceClock(reportPeriod + 125); }},
};

// What the workbench shows once the command is over.
struct Outcome {
    Files files;
    std::size_t documentsBefore = 0;
    std::size_t documents = 0;
    long long allocations = 0;
};

class AllocationSweep : public ::testing::Test {
protected:
    void SetUp() override {
        if (!win32test::isEnabled()) {
            win32test::enable();
        }
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Runs the command on a fresh workbench, with the nth allocation failing.
    Outcome attempt(const Command& command, long long nth, Files& before) {
        fs::remove_all(folder);
        fs::create_directories(folder);
        initApplication(GetModuleHandleA(nullptr));
        session = Session{folder, GetParent(mdiClient)};
        command.prepare(session);
        before = filesIn(folder);
        const std::size_t documentsBefore = win32test::childWindows(mdiClient).size();
        for (int box = 0; box < 4; ++box) {
            win32test::answerNextMessageBoxWith(IDOK);
        }
        failingAllocation::arm(nth);
        command.act(session);
        Outcome outcome;
        outcome.allocations = failingAllocation::disarm();
        outcome.files = filesIn(folder);
        outcome.documentsBefore = documentsBefore;
        outcome.documents = win32test::childWindows(mdiClient).size();
        return outcome;
    }

    // Each file on disk is as it was before or as the whole command left it.
    static void expectFilesWholeOrUntouched(const Files& before, const Files& now,
                                            const Files& complete) {
        Files names = before;
        names.insert(now.begin(), now.end());
        names.insert(complete.begin(), complete.end());
        for (const auto& [name, bytes] : names) {
            const auto current = fileOf(now, name);
            EXPECT_TRUE(current == fileOf(before, name) || current == fileOf(complete, name))
                << name << " is neither what it was nor the complete new file";
        }
    }

    // The error box names the failure; every document left runs a machine.
    void expectTheWorkbenchGoesOn() {
        ASSERT_TRUE(IsWindow(session.frame));
        bool told = false;
        for (const win32test::MessageBoxShown& box : win32test::messageBoxesShown()) {
            told = told || box.text.find("\nNot enough memory") != std::string::npos;
        }
        EXPECT_TRUE(told) << "no box said \"Not enough memory\"";
        for (HWND document : win32test::childWindows(mdiClient)) {
            session.document = document;
            session.run(smallMachine);
            win32test::advanceClock(3 * reportPeriod);
            const std::vector<win32test::ListItem> states =
                win32test::listItems(documentData(document)->statesLog);
            ASSERT_FALSE(states.empty()) << "a document does not run";
            EXPECT_EQ(states.back().text, "Finished!");
        }
    }

    std::string folder = testing::TempDir() + "allocation_sweep_test/";
    Session session;
};

TEST_F(AllocationSweep, EveryCommandSurvivesEachOfItsAllocationsFailing) {
    for (const Command& command : commands) {
        Files before;
        const Outcome complete = attempt(command, 0, before);
        win32test::reset();
        ASSERT_GT(complete.allocations, 0) << command.name << " allocates nothing";
        std::printf("%s: %lld allocations\n", command.name, complete.allocations);
        for (long long nth = 1; nth <= complete.allocations; ++nth) {
            SCOPED_TRACE(std::string(command.name) + ", allocation " + std::to_string(nth) +
                         " of " + std::to_string(complete.allocations) + " failing");
            const Outcome failed = attempt(command, nth, before);
            EXPECT_GE(failed.allocations, nth) << "the failing allocation was never made";
            EXPECT_TRUE(failed.documents == failed.documentsBefore ||
                        failed.documents == complete.documents)
                << failed.documents << " documents open";
            expectFilesWholeOrUntouched(before, failed.files, complete.files);
            expectTheWorkbenchGoesOn();
            win32test::reset();
            if (HasFailure()) {
                return;
            }
        }
    }
}

}  // namespace
