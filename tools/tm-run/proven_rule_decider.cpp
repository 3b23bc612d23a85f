#include "tools/tm-run/proven_rule_decider.h"

#include <algorithm>
#include <optional>

#include "engine/machine_runner.h"
#include "tools/tm-run/big_count.h"
#include "tools/tm-run/compiled_rules.h"
#include "tools/tm-run/macro_machine.h"
#include "tools/tm-run/stream_log_sink.h"

namespace {

constexpr const char* finishName = "halt";

std::string stateName(int state) {
    std::string name(1, 's');
    name += std::to_string(state);
    return name;
}

// The same machine in the workbench's format, every halting or undefined
// transition leading into the finish state.
std::string descriptionOf(const DeciderMachine& machine) {
    std::string tape;
    const auto cells = static_cast<std::int64_t>(machine.startTape.size());
    for (std::int64_t position = 0; position < std::max(cells, machine.startHead + 1); ++position) {
        if (position == machine.startHead) {
            tape += '.';
        }
        tape += machine.symbolNames[position < cells ? machine.startTape[position] : 0];
    }
    std::string text = "tape(" + tape + ")\nstart(s0)\nfinish(" + finishName + ")\n";
    // Appended piece by piece: one long sum of strings and characters trips
    // a false alarm of the Windows compiler.
    const auto addRule = [&](int state, char read, const std::string& next, char write, char move) {
        text += '(';
        for (const std::string& piece : {stateName(state), std::string(1, read), next,
                                         std::string(1, write), std::string(1, move)}) {
            text += piece;
            text += ',';
        }
        text.back() = ')';
        text += '\n';
    };
    for (int state = 0; state < machine.stateCount; ++state) {
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            const DeciderTransition& transition = machine.at(state, symbol);
            const char read = machine.symbolNames[symbol];
            if (!transition.defined) {
                // Leaves the cell and the head where they are, as an undefined step does.
                addRule(state, read, finishName, read, 'N');
                continue;
            }
            addRule(state, read, transition.halts() ? finishName : stateName(transition.next),
                    machine.symbolNames[transition.write],
                    transition.move < 0   ? 'L'
                    : transition.move > 0 ? 'R'
                                          : 'N');
        }
    }
    return text;
}

std::vector<RuleRun> runsOf(const MacroMachine& machine, const std::vector<TapeRun>& runs,
                            std::vector<mpz_class>::const_iterator& delta) {
    std::vector<RuleRun> result;
    for (const TapeRun& run : runs) {
        result.push_back({machine.blockText(run.block), run.count, *delta++});
    }
    return result;
}

std::string textOf(const std::vector<RuleRun>& runs, bool grown, bool left) {
    std::string text;
    const auto add = [&](const RuleRun& run) {
        const mpz_class length = grown ? mpz_class(run.length + run.growth) : run.length;
        text += " " + run.cells + "{" + length.get_str() + "}";
    };
    if (left) {
        std::for_each(runs.begin(), runs.end(), add);
    } else {
        std::for_each(runs.rbegin(), runs.rend(), add);
    }
    return text;
}

std::string ruleText(const RuleCertificate& rule, const std::string& state) {
    const auto side = [&](bool grown) {
        const std::string head = rule.facingRight ? " " + state + ">" : " <" + state;
        return textOf(rule.left, grown, true) + (rule.facingRight ? head : "") +
               (rule.facingRight ? "" : head) + textOf(rule.right, grown, false);
    };
    return "from step " + rule.reachedAt.get_str() + ":" + side(false) + " goes to" + side(true) +
           " in " + rule.firstSteps.get_str() + " steps, each next time in " +
           rule.stepGrowth.get_str() + " more, and no run ever shrinks";
}

Verdict provenRuleOf(const MacroMachine& macro, const NeverEndingRule& rule,
                     const std::vector<int>& stateIndex, const DeciderMachine& machine) {
    Verdict verdict;
    verdict.kind = VerdictKind::ProvenRule;
    RuleCertificate& certificate = verdict.certificate;
    auto delta = rule.delta.cbegin();
    certificate.left = runsOf(macro, rule.at.left, delta);
    certificate.right = runsOf(macro, rule.at.right, delta);
    certificate.state = stateIndex[rule.at.state];
    certificate.facingRight = rule.at.facingRight;
    certificate.reachedAt = macro.steps();
    certificate.firstSteps = rule.firstSteps;
    certificate.stepGrowth = rule.stepGrowth;
    verdict.rule = ruleText(certificate, machine.stateNames[certificate.state]);
    return verdict;
}

}  // namespace

Verdict decideProvenRule(const DeciderMachine& machine, std::int64_t budget,
                         std::int64_t macroStepsPerSize) {
    StreamLogSink quiet(nullptr);
    MachineRunner runner(&quiet, nullptr, nullptr);
    const std::string description = descriptionOf(machine);
    if (runner.parse(description.c_str()) == 0) {
        return {};
    }
    const CompiledRules rules(runner);
    std::vector<int> stateIndex(rules.stateCount(), -1);
    for (StateIndex state = 0; state < rules.stateCount(); ++state) {
        const std::string& name = rules.name(state);
        if (name != finishName) {
            stateIndex[state] = std::stoi(name.substr(1));
        }
    }
    TapeCells start;
    for (const std::uint8_t cell : machine.startTape) {
        start.cells += machine.symbolNames[cell];
    }
    for (int blockSize = 1; blockSize <= largestBlock; ++blockSize) {
        // No step limit: with one, the proof system applies a rule only as
        // often as the limit allows and never calls it endless.
        MacroMachine macro(rules, blockSize, start, machine.startHead, std::nullopt);
        for (std::int64_t made = 0; made < macroStepsPerSize && macro.steps() < bigOf(budget);
             made += 256) {
            if (!macro.advance(256)) {
                continue;
            }
            if (macro.end() == BlockEnd::Finished) {
                Verdict verdict;
                verdict.kind = VerdictKind::Halts;
                verdict.steps = macro.steps();
                verdict.counts = macro.counts();
                verdict.headPosition = macro.headPosition();
                return verdict;
            }
            if (macro.end() == BlockEnd::Endless && macro.proofs().neverEnding()) {
                return provenRuleOf(macro, *macro.proofs().neverEnding(), stateIndex, machine);
            }
            break;
        }
    }
    return {};
}
