#ifndef ZARN_TOOLS_TM_RUN_COMMAND_LINE_H
#define ZARN_TOOLS_TM_RUN_COMMAND_LINE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct RunOptions {
    std::string descriptionPath;  // "-" is standard input
    std::optional<std::int64_t> maxSteps;
    std::optional<std::string> tracePath;
    std::optional<std::string> picturePath;
    std::int64_t pictureSteps = 1000;
    bool showTape = false;
    bool showCounts = false;  // the tape's counts without its cells
    bool plain = false;       // one rule at a time, even where the run could skip ahead
    bool decide = false;      // print whether the machine halts, with evidence
    int enumerateStates = 0;  // with the symbols: enumerate every machine of that size
    int enumerateSymbols = 0;
    bool showHelp = false;
    bool showVersion = false;
};

struct CommandLine {
    RunOptions options;
    std::string error;  // empty when the arguments make sense
};

// The arguments after the program name. Options may come before or after the
// file; "--" ends the options, so a file may be called "--tape".
// The most steps that --picture-steps accepts.
inline constexpr std::int64_t mostPictureSteps = 100000;

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

const char* helpText();
const char* versionText();

#endif
