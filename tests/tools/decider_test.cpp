#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/tm_run_process.h"
#include "tools/tm-run/backward_reasoning_decider.h"
#include "tools/tm-run/closed_tape_language_decider.h"
#include "tools/tm-run/cycler_decider.h"
#include "tools/tm-run/decision.h"
#include "tools/tm-run/finite_automata_decider.h"
#include "tools/tm-run/proven_rule_decider.h"
#include "tools/tm-run/repeated_word_decider.h"
#include "tools/tm-run/translated_cycler_decider.h"
#include "tools/tm-run/tree_enumeration.h"

namespace {

// The checkers below step machines on their own and share no code with the
// deciders: a certificate is only as good as what another program confirms.
struct Plain {
    explicit Plain(const DeciderMachine& machine) : machine(machine) {}

    const DeciderMachine& machine;
    std::map<long long, int> tape;
    long long head = 0;
    int state = 0;
    long long steps = 0;
    bool halted = false;

    int cell(long long position) const {
        const auto found = tape.find(position);
        return found == tape.end() ? 0 : found->second;
    }
    static Plain from(const DeciderMachine& machine) {
        Plain run(machine);
        for (std::size_t i = 0; i < machine.startTape.size(); ++i) {
            run.tape[static_cast<long long>(i)] = machine.startTape[i];
        }
        run.head = machine.startHead;
        return run;
    }
    void step() {
        const DeciderTransition& t = machine.table[state * machine.symbolCount + cell(head)];
        ++steps;
        if (!t.defined) {
            halted = true;
            return;
        }
        tape[head] = t.write;
        head += t.move;
        halted = t.next == DeciderTransition::halt;
        state = halted ? state : t.next;
    }
    void runTo(long long step) {
        while (steps < step && !halted) {
            this->step();
        }
    }
};

DeciderMachine machineOf(const std::string& line) {
    std::string error;
    const DeciderMachine machine = parseOneLine(line, error);
    EXPECT_EQ(error, "") << line;
    return machine;
}

void checkCycler(const DeciderMachine& machine, const Verdict& verdict) {
    Plain first = Plain::from(machine);
    first.runTo(verdict.t1);
    Plain second = first;
    second.runTo(verdict.t2);
    ASSERT_FALSE(second.halted);
    ASSERT_EQ(second.state, first.state);
    ASSERT_EQ(second.head, first.head);
    for (long long p = -verdict.t2 - 1; p <= verdict.t2 + 1; ++p) {
        ASSERT_EQ(second.cell(p), first.cell(p)) << "cell " << p;
    }
}

void checkTranslatedCycler(const DeciderMachine& machine, const Verdict& verdict) {
    Plain run = Plain::from(machine);
    long long lowest = std::min<long long>(0, machine.startHead);
    long long highest = std::max<long long>(static_cast<long long>(machine.startTape.size()) - 1,
                                            machine.startHead);
    const auto stepRecording = [&] {
        run.step();
        lowest = std::min(lowest, run.head);
        highest = std::max(highest, run.head);
    };
    while (run.steps < verdict.t1) {
        stepRecording();
    }
    const Plain then = run;
    const int side = verdict.shift > 0 ? 1 : -1;
    ASSERT_EQ(run.head, side > 0 ? highest : lowest) << "no record at t1";
    long long back = 0;  // how far the head went back from its place at t1
    while (run.steps < verdict.t2) {
        const long long before = side > 0 ? highest : lowest;
        stepRecording();
        back = std::max(back, side * (then.head - run.head));
        if (run.steps == verdict.t2) {
            ASSERT_EQ(side * (run.head - before), 1) << "no record at t2";
        }
    }
    ASSERT_FALSE(run.halted);
    ASSERT_EQ(run.state, then.state);
    ASSERT_EQ(run.head - then.head, verdict.shift);
    for (long long k = 0; k <= back; ++k) {
        ASSERT_EQ(run.cell(run.head - side * k), then.cell(then.head - side * k)) << k;
    }
}

// Forward from every state on an unknown tape, branching where a cell is
// first read: none may make `depth` steps and then halt.
bool haltsAfter(const DeciderMachine& machine, std::map<long long, int>& tape, long long head,
                int state, int steps, int depth) {
    const auto known = tape.find(head);
    if (known == tape.end()) {
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            tape[head] = symbol;
            const bool halts = haltsAfter(machine, tape, head, state, steps, depth);
            tape.erase(head);
            if (halts) {
                return true;
            }
        }
        return false;
    }
    const DeciderTransition& t = machine.table[state * machine.symbolCount + known->second];
    if (t.next == DeciderTransition::halt) {
        return steps == depth;
    }
    if (steps == depth) {
        return false;
    }
    const int kept = known->second;
    tape[head] = t.write;
    const bool halts = haltsAfter(machine, tape, head + t.move, t.next, steps + 1, depth);
    tape[head] = kept;
    return halts;
}

void checkHaltingUnreachable(const DeciderMachine& machine, const Verdict& verdict) {
    Plain run = Plain::from(machine);
    run.runTo(verdict.depth);
    ASSERT_FALSE(run.halted);
    for (int state = 0; state < machine.stateCount; ++state) {
        std::map<long long, int> tape;
        ASSERT_FALSE(haltsAfter(machine, tape, 0, state, 0, verdict.depth)) << state;
    }
}

// The windows as cells: blocks nearest the head first, each one's cells left to right.
std::vector<int> digits(unsigned long long number, int count, int base) {
    std::vector<int> cells;
    for (int i = 0; i < count; ++i) {
        cells.push_back(static_cast<int>(number % base));
        number /= base;
    }
    return cells;
}

void checkClosedTapeLanguage(const DeciderMachine& machine, const Verdict& verdict) {
    const WindowCertificate& w = verdict.windows;
    const int k = w.blockSize;
    const int n = w.width;
    const auto cellsOf = [&](unsigned long long window) {
        return digits(window, n * k, machine.symbolCount);
    };
    std::set<std::vector<int>> left;
    std::set<std::vector<int>> right;
    for (const auto window : w.left) {
        left.insert(cellsOf(window));
    }
    for (const auto window : w.right) {
        right.insert(cellsOf(window));
    }
    // A neighbourhood as the cells of the head's block, the windows and where the head is.
    using Local = std::tuple<std::vector<int>, int, std::vector<int>, int, std::vector<int>>;
    std::set<Local> locals;
    for (const auto& h : w.neighbourhoods) {
        locals.insert({cellsOf(h.left), h.state, digits(h.block, k, machine.symbolCount), h.offset,
                       cellsOf(h.right)});
    }
    const std::vector<int> blank(static_cast<std::size_t>(n * k), 0);
    ASSERT_TRUE(left.count(blank) && right.count(blank));
    ASSERT_TRUE(locals.count({blank, 0, std::vector<int>(k, 0), 0, blank}));
    for (const auto& [l, state, block, offset, r] : locals) {
        const DeciderTransition& t = machine.table[state * machine.symbolCount + block[offset]];
        ASSERT_NE(t.next, DeciderTransition::halt);
        std::vector<int> written = block;
        written[offset] = t.write;
        const int to = offset + t.move;
        if (to >= 0 && to < k) {
            ASSERT_TRUE(locals.count({l, t.next, written, to, r}));
            continue;
        }
        const bool rightward = to == k;
        const std::vector<int>& behindWindow = rightward ? l : r;
        const std::vector<int>& aheadWindow = rightward ? r : l;
        std::vector<int> pushed = written;
        pushed.insert(pushed.end(), behindWindow.begin(), behindWindow.end() - k);
        ASSERT_TRUE((rightward ? left : right).count(pushed));
        const std::vector<int> entered(aheadWindow.begin(), aheadWindow.begin() + k);
        for (const auto& candidate : rightward ? right : left) {
            if (!std::equal(aheadWindow.begin() + k, aheadWindow.end(), candidate.begin())) {
                continue;
            }
            const Local there = rightward ? Local{pushed, t.next, entered, 0, candidate}
                                          : Local{candidate, t.next, entered, k - 1, pushed};
            ASSERT_TRUE(locals.count(there));
        }
    }
}

// The rule's configuration, stepped plainly through its first applications.
void checkProvenRule(const DeciderMachine& machine, const Verdict& verdict) {
    const RuleCertificate& rule = verdict.certificate;
    const auto symbolOf = [&](char name) {
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            if (machine.symbolNames[symbol] == name) {
                return symbol;
            }
        }
        return -1;
    };
    Plain run = Plain::from(machine);
    run.runTo(rule.reachedAt.get_si());
    long long steps = rule.firstSteps.get_si();
    for (int applications = 0; applications < 3; ++applications) {
        ASSERT_FALSE(run.halted);
        ASSERT_EQ(run.state, rule.state);
        // Right runs outwards from the head's cell, left runs outwards from the one beside it.
        std::map<long long, int> expected;
        long long position = rule.facingRight ? run.head : run.head + 1;
        for (auto r = rule.right.rbegin(); r != rule.right.rend(); ++r) {
            for (long long i = r->length.get_si() + applications * r->growth.get_si(); i > 0; --i) {
                for (const char c : r->cells) {
                    expected[position++] = symbolOf(c);
                }
            }
        }
        const long long rightEnd = position;
        position = rule.facingRight ? run.head : run.head + 1;
        for (auto l = rule.left.rbegin(); l != rule.left.rend(); ++l) {
            for (long long i = l->length.get_si() + applications * l->growth.get_si(); i > 0; --i) {
                for (auto c = l->cells.rbegin(); c != l->cells.rend(); ++c) {
                    expected[--position] = symbolOf(*c);
                }
            }
        }
        for (long long p = position - 8; p < rightEnd + 8; ++p) {
            const auto found = expected.find(p);
            ASSERT_EQ(run.cell(p), found == expected.end() ? 0 : found->second) << p;
        }
        run.runTo(run.steps + steps);
        steps += rule.stepGrowth.get_si();
    }
}

// Every halt recognised, every configuration a step before a recognised one
// recognised, and no blank start: checked entry by entry, the automata as
// given, the machine mirrored here if they read it so.
void checkFiniteAutomata(const DeciderMachine& machine, const Verdict& verdict) {
    const AutomataCertificate& a = verdict.automata;
    const int q = machine.stateCount;
    const int s = machine.symbolCount;
    const int n = a.sideStates;
    const int halt = n * q;
    ASSERT_EQ(a.side.size(), static_cast<std::size_t>(n * s));
    ASSERT_EQ(a.rest.size(), static_cast<std::size_t>(s * (halt + 1)));
    ASSERT_EQ(a.side[0], 0);
    ASSERT_LT(*std::max_element(a.side.begin(), a.side.end()), n);
    const auto has = [&](int symbol, int from, int to) {
        return (a.rest[symbol * (halt + 1) + from] >> to & 1) != 0;
    };
    for (int state = 0; state < q; ++state) {
        for (int read = 0; read < s; ++read) {
            const DeciderTransition& t = machine.table[state * s + read];
            const int move = a.mirrored ? -t.move : t.move;
            ASSERT_TRUE(has(read, halt, halt));
            for (int f = 0; f < n; ++f) {
                if (t.next == DeciderTransition::halt) {
                    ASSERT_TRUE(has(read, f * q + state, halt));
                } else if (move > 0) {
                    ASSERT_TRUE(has(read, f * q + state, a.side[f * s + t.write] * q + t.next));
                }
                for (int y = 0; move == 0 && t.next != DeciderTransition::halt && y <= halt; ++y) {
                    ASSERT_TRUE(!has(t.write, f * q + t.next, y) || has(read, f * q + state, y));
                }
                for (int b = 0; move < 0 && t.next != DeciderTransition::halt && b < s; ++b) {
                    for (int x = 0; x <= halt; ++x) {
                        for (int y = 0; y <= halt; ++y) {
                            ASSERT_TRUE(!has(b, f * q + t.next, x) || !has(t.write, x, y) ||
                                        has(read, a.side[f * s + b] * q + state, y));
                        }
                    }
                }
            }
        }
    }
    std::vector<int> pending{0};
    std::set<int> reached;
    while (!pending.empty()) {
        const int from = pending.back();
        pending.pop_back();
        for (int to = 0; to <= halt; ++to) {
            if (has(0, from, to) && reached.insert(to).second) {
                pending.push_back(to);
            }
        }
    }
    ASSERT_EQ(reached.count(halt), 0u);
}

void checkCertificate(const DeciderMachine& machine, const Verdict& verdict) {
    switch (verdict.kind) {
        case VerdictKind::Cycler:
            return checkCycler(machine, verdict);
        case VerdictKind::TranslatedCycler:
            return checkTranslatedCycler(machine, verdict);
        case VerdictKind::HaltingUnreachable:
            return checkHaltingUnreachable(machine, verdict);
        case VerdictKind::ClosedTapeLanguage:
            return checkClosedTapeLanguage(machine, verdict);
        case VerdictKind::ProvenRule:
            return checkProvenRule(machine, verdict);
        case VerdictKind::FiniteAutomata:
            return checkFiniteAutomata(machine, verdict);
        case VerdictKind::Halts: {
            Plain run = Plain::from(machine);
            run.runTo(verdict.steps.get_si());
            ASSERT_TRUE(run.halted);
            ASSERT_EQ(run.steps, verdict.steps.get_si());
            return;
        }
        // Checked in repeated_word_decider_test.cpp.
        case VerdictKind::RepeatedWords:
        case VerdictKind::Undecided:
            break;
    }
}

// The machine stepped with cells that also hold the state that wrote them:
// 0 never written, else 1 + writer * symbols + symbol.
DeciderMachine writerMachineOf(const DeciderMachine& machine) {
    const int symbols = machine.symbolCount;
    DeciderMachine writers =
        blankDeciderMachine(machine.stateCount, 1 + machine.stateCount * symbols);
    for (int state = 0; state < machine.stateCount; ++state) {
        for (int cell = 0; cell < writers.symbolCount; ++cell) {
            DeciderTransition t =
                machine.table[state * symbols + (cell == 0 ? 0 : (cell - 1) % symbols)];
            t.write = static_cast<std::uint8_t>(1 + state * symbols + t.write);
            writers.table[state * writers.symbolCount + cell] = t;
        }
    }
    return writers;
}

TEST(Deciders, ACounterOnlyCellsThatHoldTheirWriterDecide) {
    const DecideBudget budget;
    const DeciderMachine machine = machineOf("0RB0LD_1RC1RB_1LA---_0RC0LA");
    EXPECT_EQ(decideClosedTapeLanguage(machine, budget.windows).kind, VerdictKind::Undecided);
    EXPECT_EQ(decideRepeatedWords(machine, budget.words).kind, VerdictKind::Undecided);
    const Verdict verdict = decide(machine, budget);
    ASSERT_EQ(verdict.kind, VerdictKind::ClosedTapeLanguage);
    ASSERT_TRUE(verdict.windows.cellsHoldWriter);
    checkClosedTapeLanguage(writerMachineOf(machine), verdict);
}

TEST(Deciders, FiniteAutomataDecideTheBinaryCountersThatNoOtherDecides) {
    DecideBudget budget;
    budget.provenRuleSteps = 1'000'000;
    for (const std::string line : {"0RB1LC_1LA1RB_1LB1LD_---0LA", "0RB1LC_1LA1RB_1RD0LA_---1RC",
                                   "1RB1LA_0LA1RC_1RA1RD_---0RB", "1RB1LA_0LA1RC_1LD0RB_---1LC",
                                   "1RB0LD_1LC1RA_0RB0LC_---1LA"}) {
        const DeciderMachine machine = machineOf(line);
        const Verdict verdict = decide(machine, budget);
        ASSERT_EQ(verdict.kind, VerdictKind::FiniteAutomata) << line;
        checkFiniteAutomata(machine, verdict);
        // The mirror image needs automata as small, on the other side.
        std::string mirrored = line;
        std::replace(mirrored.begin(), mirrored.end(), 'L', 'r');
        std::replace(mirrored.begin(), mirrored.end(), 'R', 'L');
        std::replace(mirrored.begin(), mirrored.end(), 'r', 'R');
        const DeciderMachine mirror = machineOf(mirrored);
        const Verdict mirrorVerdict = decideFiniteAutomata(mirror, budget.automata);
        ASSERT_EQ(mirrorVerdict.kind, VerdictKind::FiniteAutomata) << mirrored;
        EXPECT_EQ(mirrorVerdict.automata.sideStates, verdict.automata.sideStates) << mirrored;
        checkFiniteAutomata(mirror, mirrorVerdict);
    }
    // The last counter, its first step made in place and then on through E.
    DeciderMachine staying = machineOf("1RE0LD_1LC1RA_0RB0LC_---1LA_0RB1RB");
    staying.at(0, 0).move = 0;
    const Verdict verdict = decideFiniteAutomata(staying, budget.automata);
    ASSERT_EQ(verdict.kind, VerdictKind::FiniteAutomata);
    checkFiniteAutomata(staying, verdict);
}

TEST(Deciders, EachVerdictKindHasAMachineThatOnlyItsOwnDeciderDecides) {
    const DecideBudget budget;
    const VerdictKind reasons[] = {VerdictKind::Cycler, VerdictKind::TranslatedCycler,
                                   VerdictKind::HaltingUnreachable, VerdictKind::ClosedTapeLanguage,
                                   VerdictKind::ProvenRule};
    struct Row {
        VerdictKind kind;
        std::string line;
        std::vector<std::uint8_t> startTape;  // a 1 keeps the closed tape language out
    };
    // In the halting-unreachable machine, B halts on 0 and only C enters B,
    // leftwards on a 1; only A enters C, rightwards, writing 1 where B reads
    // 0: the backward search must drop that predecessor to die out.
    const Row rows[] = {
        {VerdictKind::Halts, "1RB1LB_1LA1RZ", {}},
        {VerdictKind::Cycler, "2RB1LB2LB_0RA---0LA", {1}},
        {VerdictKind::TranslatedCycler, "1RA0RB_0LC---_1RC0LB", {1}},
        {VerdictKind::HaltingUnreachable, "1RA1RC_---0LA_1LB1RA", {1}},
        {VerdictKind::ClosedTapeLanguage, "1RB0LB_0LD1RB_1LA---_1LC0RD", {}},
        {VerdictKind::ProvenRule, "2RC2RD0RB_------0RA_1RD0RC1RA_1LD0LD1LA", {}},
    };
    for (const auto& [kind, line, startTape] : rows) {
        DeciderMachine machine = machineOf(line);
        machine.startTape = startTape;
        const Verdict verdicts[] = {
            decideCycler(machine, budget.cyclerSteps),
            decideTranslatedCycler(machine, budget.translatedCyclerSteps),
            decideBackwardReasoning(machine, budget.backwardDepth, budget.backwardNodes),
            decideClosedTapeLanguage(machine, budget.windows),
            decideProvenRule(machine, budget.provenRuleSteps, budget.provenRuleMacroSteps),
        };
        for (std::size_t i = 0; i < std::size(reasons); ++i) {
            // A run that halts is found by more than one of them.
            EXPECT_TRUE(kind == VerdictKind::Halts ||
                        verdicts[i].kind == (reasons[i] == kind ? kind : VerdictKind::Undecided))
                << line << ", decider " << i;
            checkCertificate(machine, verdicts[i]);
        }
        EXPECT_EQ(decide(machine, budget).kind, kind) << line;
    }
}

TEST(Deciders, SymbolsAMachineNeverWritesLeaveItsClosedTapeLanguageVerdict) {
    // Windows are numbers in base symbolCount; with 64 symbols the widest
    // ones no longer fit in 64 bits.
    for (const std::string line : {"1RB1RZ_1LB0RC_1LC1LA", "1RB0LB_0LD1RB_1LA---_1LC0RD"}) {
        const DeciderMachine narrow = machineOf(line);
        DeciderMachine wide = blankDeciderMachine(narrow.stateCount, 64);
        for (int state = 0; state < narrow.stateCount; ++state) {
            for (int symbol = 0; symbol < narrow.symbolCount; ++symbol) {
                wide.at(state, symbol) = narrow.at(state, symbol);
            }
        }
        const Verdict verdict = decideClosedTapeLanguage(wide, WindowLimits{});
        EXPECT_EQ(verdict.kind, decideClosedTapeLanguage(narrow, WindowLimits{}).kind) << line;
        checkCertificate(wide, verdict);
    }
}

TEST(Deciders, AnEnumerationCountsHaltsFoundBeyondItsBudgetAsUndecided) {
    // Blocks of cells find the halts of 2x2 past three steps, but not the
    // transition that halted, which the tree would have to grow from.
    DecideBudget budget;
    budget.cyclerSteps = budget.translatedCyclerSteps = budget.provenRuleSteps = 3;
    const EnumerationTally tally = enumerateTreeNormalForm(2, 2, budget, [](std::int64_t) {});
    EXPECT_EQ(tally.mostSteps, 3);
    ASSERT_FALSE(tally.undecidedMachines.empty());
    for (const std::string& line : tally.undecidedMachines) {
        EXPECT_EQ(decide(machineOf(line), DecideBudget{}).kind, VerdictKind::Halts) << line;
    }
}

}  // namespace

namespace {

// Random machines, halting only by explicit transitions into Z, so that the
// one-line notation means the same to the plain run.
std::string randomMachine(std::mt19937& random) {
    const int states = 2 + static_cast<int>(random() % 4);
    const int symbols = 2 + static_cast<int>(random() % 2);
    std::string line;
    for (int state = 0; state < states; ++state) {
        line += state > 0 ? "_" : "";
        for (int symbol = 0; symbol < symbols; ++symbol) {
            const bool halts = random() % static_cast<unsigned>(states * symbols) == 0;
            line += static_cast<char>('0' + random() % symbols);
            line += random() % 2 ? 'R' : 'L';
            line += halts ? 'Z' : static_cast<char>('A' + random() % states);
        }
    }
    return line;
}

TEST(Deciders, NoRandomMachineCalledNeverHaltingHaltsAndHaltingCountsMatchThePlainRun) {
    std::mt19937 random(30);
    DecideBudget budget;
    budget.provenRuleSteps = 1'000'000;
    // Under the sanitizers each plain run of 10^7 steps takes seconds: a few.
    const int count = std::getenv("TM_RUN_RANDOM_MACHINES") != nullptr ? 20 : 1000;
    for (int i = 0; i < count; ++i) {
        const std::string line = randomMachine(random);
        const DeciderMachine machine = machineOf(line);
        const Verdict verdict = decide(machine, budget);
        // The last deciders rarely see a random machine in turn: asked on
        // their own, they take some that the cheaper ones would.
        const Verdict automata = decideFiniteAutomata(machine, budget.automata);
        checkCertificate(machine, automata);
        const bool laterSayNever =
            decideRepeatedWords(machine, budget.words).neverHalts() ||
            decideClosedTapeLanguageOfWriters(machine, budget.writerWindows).neverHalts() ||
            automata.neverHalts();
        if (verdict.kind == VerdictKind::Undecided && !laterSayNever) {
            continue;
        }
        const TmRunResult plain = runTmRun({"--plain", "--max-steps", "10000000", "-"}, line);
        if (verdict.kind == VerdictKind::Halts && !laterSayNever) {
            EXPECT_EQ(plain.out, "Run complete! " + verdict.steps.get_str() + " steps.\n") << line;
        } else {
            EXPECT_NE(plain.status, 0) << line << " halts: " << plain.out;
        }
    }
}

}  // namespace
