#include "tools/tm-run/decide_command.h"

#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/tm-run/decision.h"
#include "tools/tm-run/description_file.h"
#include "tools/tm-run/exit_status.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/standard_notation.h"
#include "tools/tm-run/tape_report.h"
#include "tools/tm-run/tree_enumeration.h"

namespace {

DecideBudget budgetOf(const RunOptions& options) {
    DecideBudget budget;
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

int printVerdict(const Verdict& verdict, const DeciderMachine& machine,
                 const DecideBudget& budget) {
    switch (verdict.kind) {
        case VerdictKind::Halts:
            std::printf("halts after %s steps\n", verdict.steps.get_str().c_str());
            printTapeReport(stdout, nullptr, verdict.counts, verdict.headPosition);
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
        case VerdictKind::Undecided:
            break;
    }
    (void)machine;
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
    const DecideBudget budget = budgetOf(options);
    return printVerdict(decide(machine, budget), machine, budget);
}

int runEnumerate(const RunOptions& options) {
    ProgressMeter progress = ProgressMeter::forTerminal(stderr);
    const EnumerationTally tally = enumerateTreeNormalForm(
        options.enumerateStates, options.enumerateSymbols, budgetOf(options),
        [&](std::int64_t machines) { progress.update(machines); });
    progress.clear();
    std::printf("machines: %lld\n", static_cast<long long>(tally.machines));
    std::printf("halt: %lld\n", static_cast<long long>(tally.halting));
    const std::pair<VerdictKind, const char*> reasons[] = {
        {VerdictKind::Cycler, "cycler"},
        {VerdictKind::TranslatedCycler, "translated cycler"},
        {VerdictKind::ProvenRule, "proven rule that never runs out"},
        {VerdictKind::HaltingUnreachable, "halting unreachable"},
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
