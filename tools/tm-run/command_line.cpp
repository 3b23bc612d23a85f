#include "tools/tm-run/command_line.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace {

std::optional<std::int64_t> parseStepCount(const std::string& text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

// "4x2": states, then symbols, each as many as the one-line notation writes.
bool parseSize(const std::string& text, RunOptions& options) {
    int states = 0;
    int symbols = 0;
    char separator = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d%c%d%c", &states, &separator, &symbols, &extra) != 3 ||
        separator != 'x' || states < 1 || states > 26 || symbols < 2 || symbols > 10) {
        return false;
    }
    options.enumerateStates = states;
    options.enumerateSymbols = symbols;
    return true;
}

// Splits "--name=value" so that both spellings of an option with a value work.
std::pair<std::string, std::optional<std::string>> splitInlineValue(const std::string& argument) {
    const auto equals = argument.find('=');
    if (argument.rfind("--", 0) != 0 || equals == std::string::npos) {
        return {argument, std::nullopt};
    }
    return {argument.substr(0, equals), argument.substr(equals + 1)};
}

// Deciding and enumerating make no run to trace, draw or print: an option
// that asks for one would be ignored without a word.
std::string clashOf(const RunOptions& options) {
    if (options.decide && options.enumerateStates > 0) {
        return "--decide and --enumerate do not go together";
    }
    if (!options.decide && options.enumerateStates == 0) {
        return "";
    }
    const char* runOption = options.tracePath     ? "--trace"
                            : options.picturePath ? "--picture"
                            : options.showTape    ? "--tape"
                            : options.showCounts  ? "--counts"
                            : options.plain       ? "--plain"
                                                  : nullptr;
    if (runOption == nullptr) {
        return "";
    }
    return std::string(runOption) + " does not go with " +
           (options.decide ? "--decide" : "--enumerate");
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    RunOptions& options = result.options;
    std::vector<std::string> files;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.rfind('-', 0) != 0) {
            files.push_back(argument);
            continue;
        }
        auto [name, value] = splitInlineValue(argument);
        const bool takesValue = name == "--max-steps" || name == "--trace" || name == "--picture" ||
                                name == "--picture-steps" || name == "--enumerate";
        if (takesValue && !value) {
            if (i + 1 == arguments.size()) {
                result.error = name + " needs a value";
                return result;
            }
            value = arguments[++i];
        } else if (!takesValue && value) {
            result.error = name + " takes no value";
            return result;
        }

        if (name == "--") {
            optionsEnded = true;
        } else if (name == "--help" || name == "-h") {
            options.showHelp = true;
        } else if (name == "--version") {
            options.showVersion = true;
        } else if (name == "--tape") {
            options.showTape = true;
        } else if (name == "--counts") {
            options.showCounts = true;
        } else if (name == "--plain") {
            options.plain = true;
        } else if (name == "--decide") {
            options.decide = true;
        } else if (name == "--enumerate") {
            if (!parseSize(*value, options)) {
                result.error =
                    "--enumerate needs a size such as 4x2 (states x symbols), not '" + *value + "'";
                return result;
            }
        } else if (name == "--trace") {
            if (value->empty()) {
                result.error = "--trace needs a file name";
                return result;
            }
            options.tracePath = *value;
        } else if (name == "--picture") {
            if (value->empty()) {
                result.error = "--picture needs a file name";
                return result;
            }
            options.picturePath = *value;
        } else if (name == "--picture-steps") {
            const auto steps = parseStepCount(*value);
            if (!steps || *steps == 0 || *steps > mostPictureSteps) {
                result.error = "--picture-steps needs a whole number of steps from 1 to " +
                               std::to_string(mostPictureSteps) + ", not '" + *value + "'";
                return result;
            }
            options.pictureSteps = *steps;
        } else if (name == "--max-steps") {
            options.maxSteps = parseStepCount(*value);
            if (!options.maxSteps) {
                result.error = "--max-steps needs a whole number of steps, not '" + *value + "'";
                return result;
            }
        } else {
            result.error = "unknown option " + argument;
            return result;
        }
    }

    if (options.showHelp || options.showVersion) {
        return result;
    }
    result.error = clashOf(options);
    if (!result.error.empty()) {
        return result;
    }
    if (options.enumerateStates > 0) {
        if (!files.empty()) {
            result.error = "--enumerate takes no description file";
        }
        return result;
    }
    if (files.size() != 1) {
        result.error =
            files.empty() ? "no description file given" : "only one description file at a time";
        return result;
    }
    options.descriptionPath = files.front();
    return result;
}

const char* helpText() {
    return "Usage: tm-run [options] FILE\n"
           "       tm-run --decide FILE\n"
           "       tm-run --enumerate SxK\n"
           "Runs the Turing machine described in FILE (\"-\" reads standard input) until\n"
           "it reaches its finish state. The parser's messages go to standard error, the\n"
           "line \"Run complete! N steps.\" to standard output.\n"
           "\n"
           "FILE is read in one of two formats, told apart by its first character:\n"
           "  - the workbench's own description format (tape, start, finish and rule\n"
           "    lines, as zarn-tm saves them);\n"
           "  - the one-line notation of the busy beaver literature, when the file is a\n"
           "    single line that begins with a digit, \"-\" or \".\". States A, B, C, ...\n"
           "    come in order, separated by \"_\" or spaces; each has one transition per\n"
           "    symbol 0, 1, 2, ...: the symbol to write, L or R, and the next state, Z\n"
           "    (or H, if no state is called H) to halt, or \"---\" or \"...\" for none.\n"
           "    Example: 1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA. The machine starts in A on\n"
           "    a blank tape; symbol 0 is the blank \"^\". The step into the halt state\n"
           "    counts, and so does reaching a transition that is not there: that step\n"
           "    halts the machine without writing or moving, and standard error names\n"
           "    the transition. FILE may also be the line itself, when no file has that\n"
           "    name: tm-run 1RB1LB_1LA1RZ.\n"
           "In the workbench's own format, a machine that finds no rule for what it reads\n"
           "stays where it is and is reported stuck.\n"
           "\n"
           "Unless every step is traced, the run skips ahead: it reads the tape in blocks\n"
           "of cells, keeps repeated blocks as one run, remembers what the machine does\n"
           "with each block and crosses a whole run of blocks at once where it can. The\n"
           "step count, the tape and every outcome are exactly those of stepping one rule\n"
           "at a time.\n"
           "\n"
           "It also proves rules and jumps over their repetitions: when the tape recurs\n"
           "with the same runs in the same order, the machine in the same state, and\n"
           "some runs grown or shrunk, the stretch between is replayed with every run's\n"
           "length unknown. If that proves the same change for every length, the rule is\n"
           "applied as often as the runs allow in one go, its steps summed exactly.\n"
           "Counts, positions and tape lengths have no upper bound: every digit of\n"
           "the step count is printed. Memory has one: a run stops before its tape\n"
           "takes more than 1 GiB, in either mode (exit status 5); --max-steps stops\n"
           "a run sooner.\n"
           "\n"
           "Options:\n"
           "  --max-steps N  stop after N steps if the machine has not finished\n"
           "  --trace FILE   also write every step to FILE in the workbench's Save output\n"
           "                 format: states line, TAB, tape line, CR LF\n"
           "  --picture FILE also draw the run's first steps into FILE as a PNG picture:\n"
           "                 one row per step from the start down, each cell a square,\n"
           "                 blank white, every other symbol in a colour of its own, the\n"
           "                 head's cell in its state's colour, and a legend on top. It\n"
           "                 spans the cells the head visited, about 1,000 pixels wide\n"
           "  --picture-steps N\n"
           "                 how many steps the picture shows (default 1000, at most\n"
           "                 100000); the run itself goes on as without the picture\n"
           "  --plain        step one rule at a time, without skipping ahead\n"
           "  --tape         after the run, print the tape from its leftmost to its\n"
           "                 rightmost non-blank cell, the head's position and how many\n"
           "                 cells hold each symbol\n"
           "  --counts       the same without the cells: where the written stretch of\n"
           "                 tape begins, the head's position and how many cells hold\n"
           "                 each symbol, for tapes too long to print\n"
           "  --decide       instead of running, print whether the machine halts, with\n"
           "                 evidence: \"halts after N steps\" and the counts; \"never\n"
           "                 halts\" with the reason (cycler, translated cycler, proven\n"
           "                 rule that never runs out, halting unreachable, closed tape\n"
           "                 language, repeated words or finite automata); or\n"
           "                 \"undecided\". FILE may be a one-line machine itself. An\n"
           "                 undefined transition halts, and that step counts.\n"
           "                 --max-steps bounds the deciders, 100000000 steps by default\n"
           "  --enumerate SxK  decide every machine of S states and K symbols in tree\n"
           "                 normal form, each machine and its mirror image once, on\n"
           "                 every processor; print the counts by verdict and the\n"
           "                 machines with the most steps and the most non-blank cells\n"
           "  --help         show this text\n"
           "  --version      show the version\n"
           "\n"
           "Exit status:\n"
           "  0  the machine reached its finish state; --decide: it halts; --enumerate:\n"
           "     nothing is undecided\n"
           "  1  bad command line, or a file that cannot be read or written\n"
           "  2  the description has errors and cannot run\n"
           "  3  stopped by --max-steps before the finish state; --decide: undecided;\n"
           "     --enumerate: some machines are undecided\n"
           "  4  stuck or endless: the machine can never finish, since no rule changes\n"
           "     anything any more, or what it does from some step on is proven to repeat\n"
           "     for ever; \"stuck after N steps\" counts the steps that changed something;\n"
           "     --decide: it never halts\n"
           "  5  stopped before the tape took more than 1 GiB of memory\n";
}

const char* versionText() {
    return "tm-run (ZARN Turing Machine) 1.00\n";
}
