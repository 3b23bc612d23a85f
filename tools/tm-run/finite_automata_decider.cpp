#include "tools/tm-run/finite_automata_decider.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "tools/tm-run/decider_run.h"

namespace {

using States = std::uint64_t;  // a set of the rest automaton's states, as bits

constexpr int mostRestStates = 64;
// No automata keep out a start that halts: a short run spares most halting
// machines the whole search.
constexpr std::int64_t shortRunSteps = 1000;

States only(int state) {
    return States{1} << state;
}

// The machine with left and right swapped: automata of its left side are
// those of the machine's right side.
DeciderMachine mirrorOf(const DeciderMachine& machine) {
    DeciderMachine mirror = machine;
    for (DeciderTransition& transition : mirror.table) {
        transition.move = static_cast<std::int8_t>(-transition.move);
    }
    return mirror;
}

// The least rest automaton that one side automaton asks for: the paths that
// a halt or a step right forces, then those that steps left and steps in
// place derive from paths already there, until none is new. Every other rest
// automaton that the rules allow has these paths too: if this one lets the
// blank start in, so do they all.
class RestAutomaton {
public:
    RestAutomaton(const DeciderMachine& machine, int sideStates,
                  const std::vector<std::uint8_t>& side)
        : machine(machine),
          side(side),
          sideStates(sideStates),
          halting(sideStates * machine.stateCount),
          states(halting + 1),
          next(static_cast<std::size_t>(machine.symbolCount) * static_cast<std::size_t>(states)) {
        for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
            row(symbol, halting) = only(halting);
        }
        for (int state = 0; state < machine.stateCount; ++state) {
            for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
                force(state, symbol);
            }
        }
        // Paths only grow: once the start reaches a halt, it always will.
        while (keepsStartOut() && derive()) {
        }
    }

    // Whether no run of blanks after the start's head leads to the halting state.
    bool keepsStartOut() const {
        States reached = row(0, entry(0, 0));
        for (States before = 0; reached != before;) {
            before = reached;
            for (States rest = before; rest != 0; rest &= rest - 1) {
                reached |= row(0, std::countr_zero(rest));
            }
        }
        return (reached & only(halting)) == 0;
    }

    std::vector<States> table() const { return next; }

private:
    int entry(int sideState, int state) const { return sideState * machine.stateCount + state; }
    int sideAfter(int sideState, int symbol) const {
        return side[sideState * machine.symbolCount + symbol];
    }
    States& row(int symbol, int from) { return next[symbol * states + from]; }
    States row(int symbol, int from) const { return next[symbol * states + from]; }

    // A halt recognises every configuration about to make it; a step right
    // from a recognised configuration is one path on.
    void force(int state, int symbol) {
        const DeciderTransition& transition = machine.at(state, symbol);
        for (int f = 0; f < sideStates; ++f) {
            if (transition.halts()) {
                row(symbol, entry(f, state)) |= only(halting);
            } else if (transition.move > 0) {
                row(symbol, entry(f, state)) |=
                    only(entry(sideAfter(f, transition.write), transition.next));
            }
        }
    }

    // The states that reading `first` then `second` reaches from `from`.
    States after(int from, int first, int second) const {
        States reached = 0;
        for (States middle = row(first, from); middle != 0; middle &= middle - 1) {
            reached |= row(second, std::countr_zero(middle));
        }
        return reached;
    }

    // Where the configuration after a step left or in place goes, the one
    // before it must go too. False once nothing grew.
    bool derive() {
        bool grew = false;
        const auto include = [&](States& target, States reached) {
            grew |= (reached & ~target) != 0;
            target |= reached;
        };
        for (int state = 0; state < machine.stateCount; ++state) {
            for (int symbol = 0; symbol < machine.symbolCount; ++symbol) {
                const DeciderTransition& transition = machine.at(state, symbol);
                if (transition.halts() || transition.move > 0) {
                    continue;
                }
                for (int f = 0; f < sideStates; ++f) {
                    if (transition.move == 0) {
                        include(row(symbol, entry(f, state)),
                                row(transition.write, entry(f, transition.next)));
                        continue;
                    }
                    // The cell left of the head, b, was on the side before the step.
                    for (int b = 0; b < machine.symbolCount; ++b) {
                        include(row(symbol, entry(sideAfter(f, b), state)),
                                after(entry(f, transition.next), b, transition.write));
                    }
                }
            }
        }
        return grew;
    }

    const DeciderMachine& machine;
    const std::vector<std::uint8_t>& side;
    int sideStates;
    int halting;
    int states;
    std::vector<States> next;  // by symbol, then state
};

// Goes through the side automata of a number of states, each once up to
// renaming: state 0 starts and the blank keeps it, and the other states come
// in the order in which the table, state by state, first names them. All
// searches together try at most `most` of them.
class SideAutomatonSearch {
public:
    explicit SideAutomatonSearch(std::int64_t most) : most(most) {}

    // True with the automata once one keeps the start out.
    bool search(const DeciderMachine& read, int sideStates, AutomataCertificate& found) {
        machine = &read;
        sideCount = sideStates;
        side.assign(
            static_cast<std::size_t>(sideStates) * static_cast<std::size_t>(machine->symbolCount),
            0);
        if (!extend(1, 1)) {
            return false;
        }
        found.sideStates = sideStates;
        found.side = side;
        found.rest = rest;
        return true;
    }

private:
    bool exhausted() const { return tried >= most; }

    bool extend(int position, int named) {
        if (exhausted()) {
            return false;
        }
        if (position == static_cast<int>(side.size())) {
            return named == sideCount && accepts();
        }
        // A state that no earlier entry names could never be reached.
        if (position / machine->symbolCount >= named) {
            return false;
        }
        for (int to = 0; to < std::min(named + 1, sideCount); ++to) {
            side[position] = static_cast<std::uint8_t>(to);
            if (extend(position + 1, std::max(named, to + 1))) {
                return true;
            }
        }
        return false;
    }

    bool accepts() {
        ++tried;
        const RestAutomaton least(*machine, sideCount, side);
        rest = least.table();
        return least.keepsStartOut();
    }

    const DeciderMachine* machine = nullptr;
    std::int64_t most;
    std::int64_t tried = 0;
    int sideCount = 0;
    std::vector<std::uint8_t> side;
    std::vector<States> rest;
};

}  // namespace

Verdict decideFiniteAutomata(const DeciderMachine& machine, const AutomataLimits& limits) {
    const bool blankStart = machine.startsBlank();
    DeciderRun run(machine);
    while (run.steps() < shortRunSteps && run.step()) {
    }
    if (!blankStart || run.steps() < shortRunSteps) {
        return {};
    }
    const DeciderMachine mirror = mirrorOf(machine);
    SideAutomatonSearch search(limits.mostSideAutomata);
    for (int sideStates = 1;
         sideStates <= limits.mostSideStates && sideStates * machine.stateCount < mostRestStates;
         ++sideStates) {
        for (const bool mirrored : {false, true}) {
            Verdict verdict;
            if (search.search(mirrored ? mirror : machine, sideStates, verdict.automata)) {
                verdict.kind = VerdictKind::FiniteAutomata;
                verdict.automata.mirrored = mirrored;
                return verdict;
            }
        }
    }
    return {};
}
