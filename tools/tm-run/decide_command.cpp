#include "tools/tm-run/decide_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/tm-run/decision.h"
#include "tools/tm-run/description_file.h"
#include "tools/tm-run/exit_status.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/standard_notation.h"
#include "tools/tm-run/tape_report.h"
#include "tools/tm-run/tree_enumeration.h"

namespace {

// Each of many machines gets less time than a machine on its own.
constexpr std::int64_t enumerationProvenRuleSteps = 1'000'000;
// The machines that the proof system decides at all, it decides early; the
// rest would spend most of the enumeration's time in it.
constexpr std::int64_t enumerationProvenRuleMacroSteps = 1024;

DecideBudget budgetOf(const RunOptions& options, std::int64_t provenRuleSteps) {
    DecideBudget budget;
    budget.provenRuleSteps = provenRuleSteps;
    if (options.maxSteps) {
        budget.cyclerSteps = std::min(budget.cyclerSteps, *options.maxSteps);
        budget.translatedCyclerSteps = std::min(budget.translatedCyclerSteps, *options.maxSteps);
        budget.provenRuleSteps = *options.maxSteps;
    }
    return budget;
}

// A one-line machine may stand on the command line in place of a file.
bool readMachine(const std::string& argument, DeciderMachine& machine, int& status) {
    std::string text = argument;
    std::error_code error;
    if (argument == "-" || std::filesystem::exists(argument, error) ||
        !isStandardNotation(argument)) {
        const DescriptionFile file = readDescriptionFile(argument);
        if (!file.error.empty()) {
            std::fprintf(stderr, "tm-run: cannot read %s: %s\n", argument.c_str(),
                         file.error.c_str());
            status = exitFailure;
            return false;
        }
        text = file.text;
    }
    std::string problem;
    if (isStandardNotation(text)) {
        machine = parseOneLine(text, problem);
    } else {
        deciderMachineOf(text, machine, problem);
    }
    if (!problem.empty()) {
        std::fprintf(stderr, "tm-run: %s cannot be decided: %s\n", argument.c_str(),
                     problem.c_str());
        status = exitUnparseable;
        return false;
    }
    return true;
}

// How each cell reads: with the writer's state after the symbol, if cells hold it.
std::vector<std::string> cellNamesOf(const WindowCertificate& windows,
                                     const DeciderMachine& machine) {
    std::vector<std::string> names;
    for (const char name : machine.symbolNames) {
        names.emplace_back(1, name);
    }
    if (!windows.cellsHoldWriter) {
        return names;
    }
    std::vector<std::string> written;
    for (const std::string& writer : machine.stateNames) {
        for (const std::string& name : names) {
            written.push_back(name + "(" + writer + ")");
        }
    }
    written.insert(written.begin(), names.front());
    return written;
}

// A window's blocks, nearest the head first, each block's cells left to right.
std::vector<std::string> blocksOf(std::uint64_t window, int width, int blockSize,
                                  const std::vector<std::string>& names) {
    std::vector<std::string> blocks;
    for (int block = 0; block < width; ++block) {
        std::string cells;
        for (int cell = 0; cell < blockSize; ++cell) {
            cells += names[window % names.size()];
            window /= names.size();
        }
        blocks.push_back(cells);
    }
    return blocks;
}

std::string leftText(const std::vector<std::string>& blocks) {
    std::string text;
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        text += *block;
    }
    return text;
}

std::string rightText(const std::vector<std::string>& blocks) {
    std::string text;
    for (const std::string& block : blocks) {
        text += block;
    }
    return text;
}

void printWindows(const WindowCertificate& windows, const DeciderMachine& machine) {
    std::printf(
        "never halts: closed tape language%s: blocks of %d cells, windows of %d blocks, "
        "closed under every step, hold the blank start and no halt\n",
        windows.cellsHoldWriter ? " of cells that hold the state that wrote them" : "",
        windows.blockSize, windows.width);
    const std::vector<std::string> names = cellNamesOf(windows, machine);
    const auto window = [&](std::uint64_t number) {
        return blocksOf(number, windows.width, windows.blockSize, names);
    };
    std::printf("left windows:");
    for (const std::uint64_t number : windows.left) {
        std::printf(" %s", leftText(window(number)).c_str());
    }
    std::printf("\nright windows:");
    for (const std::uint64_t number : windows.right) {
        std::printf(" %s", rightText(window(number)).c_str());
    }
    // The head's block in brackets, its cell after the state.
    std::printf("\nneighbourhoods:");
    for (const auto& here : windows.neighbourhoods) {
        const std::vector<std::string> cells = blocksOf(here.block, windows.blockSize, 1, names);
        std::string before;
        std::string after;
        for (int cell = 0; cell < windows.blockSize; ++cell) {
            (cell < here.offset ? before : after) += cells[cell];
        }
        std::printf(" %s[%s%s:%s]%s", leftText(window(here.left)).c_str(), before.c_str(),
                    machine.stateNames[here.state].c_str(), after.c_str(),
                    rightText(window(here.right)).c_str());
    }
    std::printf("\n");
}

std::string runText(const WordRun& run, const WordListCertificate& words,
                    const DeciderMachine& machine) {
    std::vector<std::string> names;
    for (const char name : machine.symbolNames) {
        names.emplace_back(1, name);
    }
    const std::string word = rightText(blocksOf(run.word, 1, words.blockSize, names));
    return "(" + word + ")x" + std::to_string(run.count) +
           (run.count == words.threshold ? "+" : "");
}

// Each configuration as the tape reads left to right, the state beside the
// head and pointing the way it faces.
void printWordLists(const WordListCertificate& words, const DeciderMachine& machine) {
    std::printf(
        "never halts: repeated words: blocks of %d cells, runs of %d or more blocks alike "
        "merged, %zu configurations closed under a pass over the block ahead, hold the blank "
        "start and no halt\n",
        words.blockSize, words.threshold, words.configurations.size());
    std::printf("configurations:");
    for (const WordListConfiguration& configuration : words.configurations) {
        std::string text;
        // Appended piece by piece: g++ 12 at -O3 warns falsely on " " + a
        // temporary string.
        for (const WordRun& run : configuration.left) {
            text += ' ';
            text += runText(run, words, machine);
        }
        const std::string& state = machine.stateNames[configuration.state];
        text += configuration.facingRight ? " " + state + ">" : " <" + state;
        for (auto run = configuration.right.rbegin(); run != configuration.right.rend(); ++run) {
            text += ' ';
            text += runText(*run, words, machine);
        }
        std::printf(" [%s ]", text.c_str());
    }
    std::printf("\n");
}

// A rest automaton's state as the side automaton's state and the head's, or "halt".
std::string restStateName(int state, const DeciderMachine& machine,
                          const AutomataCertificate& automata) {
    if (state == automata.haltingState(machine.stateCount)) {
        return "halt";
    }
    return std::to_string(state / machine.stateCount) + ":" +
           machine.stateNames[state % machine.stateCount];
}

void printAutomata(const AutomataCertificate& automata, const DeciderMachine& machine) {
    const char* side = automata.mirrored ? "right" : "left";
    const int restStates = automata.haltingState(machine.stateCount) + 1;
    std::printf(
        "never halts: finite automata: a %d-state automaton of the cells %s of the head and a "
        "%d-state automaton of the rest recognise every configuration that halts and every one a "
        "step before one they recognise, but not the blank start\n",
        automata.sideStates, side, restStates);
    // Each state's next states on each symbol, or on each symbol that leads anywhere.
    std::printf("%s automaton, from the far end to the head, starting in 0:", side);
    for (int state = 0; state < automata.sideStates; ++state) {
        std::printf(" %d[", state);
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            std::printf("%s%c>%d", symbol > 0 ? " " : "", machine.symbolNames[symbol],
                        automata.side[state * machine.symbolCount + symbol]);
        }
        std::printf("]");
    }
    std::printf(
        "\nrest automaton, from the head's cell to the far end, starting in the %s automaton's "
        "state "
        "and the head's:",
        side);
    for (int state = 0; state < restStates; ++state) {
        std::string moves;
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            std::uint64_t next = automata.rest[symbol * restStates + state];
            if (next == 0) {
                continue;
            }
            moves += moves.empty() ? "" : " ";
            moves += machine.symbolNames[symbol];
            moves += '>';
            for (int to = 0; next != 0; ++to, next >>= 1) {
                if ((next & 1) != 0) {
                    moves += restStateName(to, machine, automata);
                    moves += next > 1 ? "," : "";
                }
            }
        }
        std::printf(" %s[%s]", restStateName(state, machine, automata).c_str(), moves.c_str());
    }
    std::printf("\n");
}

int printVerdict(const Verdict& verdict, const DeciderMachine& machine,
                 const DecideBudget& budget) {
    switch (verdict.kind) {
        case VerdictKind::Halts:
            std::printf("halts after %s steps\n", verdict.steps.get_str().c_str());
            printTapeReport(stdout, nullptr, *verdict.counts, verdict.headPosition);
            return exitFinished;
        case VerdictKind::Cycler:
            std::printf("never halts: cycler: the same configuration at steps %lld and %lld\n",
                        static_cast<long long>(verdict.t1), static_cast<long long>(verdict.t2));
            return exitStuck;
        case VerdictKind::TranslatedCycler:
            std::printf(
                "never halts: translated cycler: records at steps %lld and %lld, the same "
                "cells behind the head, shifted by %lld\n",
                static_cast<long long>(verdict.t1), static_cast<long long>(verdict.t2),
                static_cast<long long>(verdict.shift));
            return exitStuck;
        case VerdictKind::ProvenRule:
            std::printf("never halts: proven rule that never runs out: %s\n", verdict.rule.c_str());
            return exitStuck;
        case VerdictKind::HaltingUnreachable:
            std::printf(
                "never halts: halting unreachable: no configuration halts after %d steps, and "
                "the first %d steps do not halt\n",
                verdict.depth, verdict.depth);
            return exitStuck;
        case VerdictKind::ClosedTapeLanguage:
            printWindows(verdict.windows, machine);
            return exitStuck;
        case VerdictKind::RepeatedWords:
            printWordLists(verdict.words, machine);
            return exitStuck;
        case VerdictKind::FiniteAutomata:
            printAutomata(verdict.automata, machine);
            return exitStuck;
        case VerdictKind::Undecided:
            break;
    }
    std::printf("undecided within %lld steps\n", static_cast<long long>(budget.provenRuleSteps));
    return exitStepLimit;
}

}  // namespace

int runDecide(const RunOptions& options) {
    DeciderMachine machine;
    int status = exitFailure;
    if (!readMachine(options.descriptionPath, machine, status)) {
        return status;
    }
    const DecideBudget budget = budgetOf(options, DecideBudget::defaultProvenRuleSteps);
    return printVerdict(decide(machine, budget), machine, budget);
}

int runEnumerate(const RunOptions& options) {
    ProgressMeter progress = ProgressMeter::forTerminal(stderr);
    progress.countIn("machines");
    DecideBudget budget = budgetOf(options, enumerationProvenRuleSteps);
    budget.provenRuleMacroSteps = enumerationProvenRuleMacroSteps;
    const EnumerationTally tally =
        enumerateTreeNormalForm(options.enumerateStates, options.enumerateSymbols, budget,
                                [&](std::int64_t machines) { progress.update(machines); });
    progress.clear();
    std::printf("machines: %lld (each and its mirror image once)\n",
                static_cast<long long>(tally.machines));
    std::printf("halt: %lld\n", static_cast<long long>(tally.halting));
    const std::pair<VerdictKind, const char*> reasons[] = {
        {VerdictKind::Cycler, "cycler"},
        {VerdictKind::TranslatedCycler, "translated cycler"},
        {VerdictKind::ProvenRule, "proven rule that never runs out"},
        {VerdictKind::HaltingUnreachable, "halting unreachable"},
        {VerdictKind::ClosedTapeLanguage, "closed tape language"},
        {VerdictKind::RepeatedWords, "repeated words"},
        {VerdictKind::FiniteAutomata, "finite automata"},
    };
    for (const auto& [kind, name] : reasons) {
        std::printf("never halt, %s: %lld\n", name, static_cast<long long>(tally.count(kind)));
    }
    std::printf("undecided: %lld\n", static_cast<long long>(tally.count(VerdictKind::Undecided)));
    std::printf("most steps: %s %s\n", tally.mostSteps.get_str().c_str(),
                tally.mostStepsMachine.c_str());
    std::printf("most ones: %lld %s\n", static_cast<long long>(tally.mostOnes),
                tally.mostOnesMachine.c_str());
    for (const std::string& machine : tally.undecidedMachines) {
        std::printf("undecided: %s\n", machine.c_str());
    }
    return tally.count(VerdictKind::Undecided) == 0 ? exitFinished : exitStepLimit;
}
