#ifndef ZARN_TESTS_TOOLS_TM_RUN_PROCESS_H
#define ZARN_TESTS_TOOLS_TM_RUN_PROCESS_H

#include <filesystem>
#include <string>
#include <vector>

// What one run of the built tm-run program left behind.
struct TmRunResult {
    int status = -1;  // exit status; -1 if it did not exit normally
    std::string out;
    std::string err;
};

// A fresh folder for one test's files, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path(const std::string& name) const { return root / name; }
    // Writes `content` byte for byte and returns the file's path as a string.
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::filesystem::path root;
};

std::string readFileBytes(const std::filesystem::path& path);

// Runs tm-run with the arguments, feeding `input` to its standard input, which
// like its output streams is a file, never a terminal.
TmRunResult runTmRun(const std::vector<std::string>& arguments, const std::string& input = "");

#endif
