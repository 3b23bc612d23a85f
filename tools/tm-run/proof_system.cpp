#include "tools/tm-run/proof_system.h"

#include <algorithm>
#include <span>
#include <utility>

#include "tools/tm-run/big_count.h"

namespace {

// Watching costs a look at the whole tape per macro step: tapes of more runs
// than this are left to plain macro steps, and the memory of sightings is
// dropped when it grows past a bound.
constexpr std::size_t mostRunsWatched = 48;
static_assert(mostRunsWatched <= 64, "a run set holds a bit for each run");
constexpr std::size_t mostSightings = 1 << 16;
// Sightings made void by an applied rule are kept, to be reused, up to this many.
constexpr std::size_t mostSightingsKeptOver = 1 << 10;
// A configuration is compared with its last few sightings, so that a rule
// whose runs take turns in changing is found too.
constexpr std::size_t sightingsKept = 3;

// Run lengths as a sighting keeps them: exact up to `longestKept`, beyond
// that only their lowest bits and size.
constexpr long longestKept = 1l << 30;

// Short numbers multiply a long one in a single pass over it.
bool isShort(const mpz_class& value) {
    return mpz_size(value.get_mpz_t()) <= 2;
}

ProofSystem::CountPrint printOf(const mpz_class& count) {
    if (count <= longestKept) {
        return {count.get_si(), 0};
    }
    return {-static_cast<std::int64_t>(mpz_size(count.get_mpz_t())),
            mpz_getlimbn(count.get_mpz_t(), 0)};
}

void printsOf(const MacroTape& tape, std::vector<ProofSystem::CountPrint>& prints) {
    prints.clear();
    for (const auto* side : {&tape.left, &tape.right}) {
        for (const TapeRun& run : *side) {
            prints.push_back(printOf(run.count));
        }
    }
}

// Calls `visit` with each run's index, left then right, and the run.
template <typename Visit>
void forEachRun(MacroTape& tape, Visit visit) {
    std::size_t index = 0;
    for (auto* side : {&tape.left, &tape.right}) {
        for (TapeRun& run : *side) {
            visit(index++, run);
        }
    }
}

// Empty runs go, equal neighbours become one, and blank runs at the bottom
// are left to the blank tape beyond; returns how many blocks those held.
mpz_class normalise(std::vector<TapeRun>& stack) {
    mpz_class dropped = 0;
    std::vector<TapeRun> kept;
    kept.reserve(stack.size());
    for (TapeRun& run : stack) {
        if (run.count == 0) {
            continue;
        }
        if (!kept.empty() && kept.back().block == run.block) {
            kept.back().count += run.count;
        } else if (!kept.empty() || run.block != 0) {
            kept.push_back(std::move(run));
        } else {
            dropped += run.count;
        }
    }
    stack = std::move(kept);
    return dropped;
}

}  // namespace

std::size_t ProofSystem::SignatureHash::operator()(const Signature& signature) const {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint32_t word : signature) {
        hash = (hash ^ word) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

void ProofSystem::signatureOf(const MacroTape& tape, Signature& signature) {
    signature.clear();
    signature.push_back(tape.state << 1 | (tape.facingRight ? 1 : 0));
    signature.push_back(static_cast<std::uint32_t>(tape.left.size()));
    for (const TapeRun& run : tape.left) {
        signature.push_back(run.block);
    }
    for (const TapeRun& run : tape.right) {
        signature.push_back(run.block);
    }
}

std::optional<Jump> ProofSystem::consider(MacroTape& tape,
                                          const std::optional<mpz_class>& remaining) {
    ++macroStep;
    if (tape.left.size() + tape.right.size() > mostRunsWatched) {
        return std::nullopt;
    }
    signatureOf(tape, signatureNow);
    RunSet loose = 0;
    if (const auto rule = rules.find(signatureNow); rule != rules.end()) {
        if (auto jump = apply(rule->second, tape, remaining)) {
            return jump;
        }
        loose = changedFixedRuns(rule->second, tape);
    }

    printsOf(tape, countsNow);
    const std::vector<CountPrint>& counts = countsNow;
    if (history.size() >= mostSightings) {
        history.clear();
    }
    Sightings& seen = history.try_emplace(signatureNow).first->second;
    if (seen.era != applied) {
        // Seen only before the last rule applied: as good as never seen.
        seen = {std::move(seen.latest), 0, applied};
    }
    const std::span<const Sighting> sightings(seen.latest.data(), seen.kept);
    // A configuration whose proofs failed is tried again after 1, 2, 4, ...
    // more sightings: a transient costs little, a rule is still found.
    if (++seen.times >= seen.nextTry) {
        bool proved = false;
        for (const Sighting& sighting : sightings) {
            if (sighting.counts == counts) {
                continue;
            }
            // Runs that the stored rule held fixed and that have changed since
            // are tried as variables first: a counter that an outer loop
            // counts down then needs no new proof on each of its rounds.
            auto rule = loose != 0 ? proveFrom(tape, sighting, loose) : std::nullopt;
            if (!rule) {
                rule = proveFrom(tape, sighting, 0);
            }
            if (rule) {
                const Rule& stored =
                    rules.insert_or_assign(signatureNow, std::move(*rule)).first->second;
                if (auto jump = apply(stored, tape, remaining)) {
                    return jump;
                }
                proved = true;
                break;
            }
        }
        if (!proved && !sightings.empty()) {
            seen.nextTry = seen.times + (std::int64_t{1} << std::min(seen.failures++, 20));
        }
    }
    // Newest first: the oldest, or a spare, takes the counts into its storage.
    std::vector<Sighting>& latest = seen.latest;
    if (seen.kept == latest.size() && latest.size() < sightingsKept) {
        latest.emplace_back();
    }
    const auto slot =
        latest.begin() + static_cast<std::ptrdiff_t>(std::min(seen.kept, latest.size() - 1));
    std::rotate(latest.begin(), slot, slot + 1);
    latest.front().macroStep = macroStep;
    latest.front().counts = counts;
    seen.kept = std::min(seen.kept + 1, sightingsKept);
    return std::nullopt;
}

ProofSystem::RunSet ProofSystem::changedFixedRuns(const Rule& rule, MacroTape& tape) {
    RunSet changed = 0;
    forEachRun(tape, [&](std::size_t i, const TapeRun& run) {
        if (rule.bounds[i].fixed && run.count != rule.bounds[i].least) {
            changed |= RunSet{1} << i;
        }
    });
    return changed;
}

std::optional<ProofSystem::Rule> ProofSystem::proveFrom(const MacroTape& now,
                                                        const Sighting& sighting,
                                                        RunSet loose) const {
    // Runs that kept their length stay fixed. The others become variables,
    // at first at least as long as in both sightings, so that the rule
    // applies now. A long run of the earlier sighting is known only by its
    // print; the run now is then the bound, which the proof loosens below.
    // Whatever the bounds, the proof alone decides whether the rule holds.
    std::vector<Bound> bounds;
    std::size_t index = 0;
    for (const auto* side : {&now.left, &now.right}) {
        for (const TapeRun& run : *side) {
            const CountPrint& earlier = sighting.counts[index];
            Bound bound{run.count, earlier == printOf(run.count) && (loose >> index & 1) == 0};
            ++index;
            if (!bound.fixed && earlier.value >= 0 && bound.least > bigOf(earlier.value)) {
                bound.least = bigOf(earlier.value);
            }
            bounds.push_back(std::move(bound));
        }
    }
    const MacroTape& earlier = now;
    const std::int64_t macroSteps = macroStep - sighting.macroStep;
    std::vector<mpz_class> slack;
    auto rule = prove(earlier, bounds, macroSteps, &slack);
    if (!rule) {
        return rule;
    }
    // Then as general as that proof suggests: each run as much shorter as it
    // never needed, proved again.
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        bounds[i].least -= slack[i];
    }
    if (auto general = prove(earlier, bounds, macroSteps, nullptr)) {
        return general;
    }
    return rule;
}

std::optional<ProofSystem::Rule> ProofSystem::prove(const MacroTape& from,
                                                    const std::vector<Bound>& bounds,
                                                    std::int64_t macroSteps,
                                                    std::vector<mpz_class>* slack) const {
    const std::size_t variables = bounds.size();
    if (slack != nullptr) {
        slack->clear();
        for (const Bound& bound : bounds) {
            slack->push_back(bound.fixed ? mpz_class(0) : mpz_class(bound.least - 1));
        }
    }
    // How much shorter the runs that a decrement reads from could have been.
    const auto noteSlack = [&](const Linear& count) {
        if (slack == nullptr) {
            return;
        }
        const auto variablesIn = std::count_if(count.coefficients.begin(), count.coefficients.end(),
                                               [](std::int64_t c) { return c != 0; });
        for (std::size_t v = 0; v < variables; ++v) {
            if (count.coefficients[v] != 0) {
                (*slack)[v] = variablesIn == 1 && count.coefficients[v] == 1
                                  ? std::min((*slack)[v], mpz_class(count.constant - 1))
                                  : mpz_class(0);
            }
        }
    };
    struct Run {
        BlockId block;
        Linear count;
    };
    const auto constant = [&](const mpz_class& value) {
        return Linear{value, std::vector<std::int64_t>(variables)};
    };
    // Coefficients count copies of a run and steps per block, small unless
    // the proof is absurdly long: one that would overflow is given up.
    bool overflow = false;
    const auto add = [&](Linear& to, const Linear& value, std::int64_t times) {
        to.constant += value.constant * bigOf(times);
        for (std::size_t i = 0; i < to.coefficients.size(); ++i) {
            std::int64_t product = 0;
            overflow |= __builtin_mul_overflow(value.coefficients[i], times, &product) ||
                        __builtin_add_overflow(to.coefficients[i], product, &to.coefficients[i]);
        }
    };
    const auto isZero = [](const Linear& value) {
        return value.constant == 0 &&
               std::all_of(value.coefficients.begin(), value.coefficients.end(),
                           [](std::int64_t c) { return c == 0; });
    };
    const auto put = [&](std::vector<Run>& stack, BlockId block, Linear count) {
        if (!stack.empty() && stack.back().block == block) {
            add(stack.back().count, count, 1);
        } else if (!stack.empty() || block != 0) {
            stack.push_back({block, std::move(count)});
        }
    };
    const auto putOne = [&](std::vector<Run>& stack, BlockId block) {
        if (!stack.empty() && stack.back().block == block) {
            stack.back().count.constant += 1;
        } else if (!stack.empty() || block != 0) {
            stack.push_back({block, constant(1)});
        }
    };

    // Run i is x_i + its least length long, or exactly that when fixed.
    std::vector<Run> left;
    std::vector<Run> right;
    std::size_t index = 0;
    for (const auto* side : {&from.left, &from.right}) {
        for (const TapeRun& run : *side) {
            Linear count = constant(bounds[index].least);
            count.coefficients[index] = bounds[index].fixed ? 0 : 1;
            ++index;
            (side == &from.left ? left : right).push_back({run.block, std::move(count)});
        }
    }
    StateIndex state = from.state;
    bool facingRight = from.facingRight;
    Rule rule{bounds, {}, constant(0), constant(0)};

    for (std::int64_t step = 0; step < macroSteps; ++step) {
        std::vector<Run>& ahead = facingRight ? right : left;
        const BlockId block = ahead.empty() ? 0 : ahead.back().block;
        const Crossing* crossing = crossings(state, facingRight, block);
        if (crossing == nullptr) {
            return std::nullopt;
        }
        std::vector<Run>& behind = crossing->exitRight ? left : right;
        const bool onward = crossing->exitRight == facingRight;
        if (crossing->next == state && onward) {
            // The whole run, however long: it must end somewhere.
            if (ahead.empty()) {
                return std::nullopt;
            }
            Linear count = std::move(ahead.back().count);
            ahead.pop_back();
            add(rule.steps, count, crossing->steps);
            add(rule.shift, count, facingRight ? 1 : -1);
            put(behind, crossing->write, std::move(count));
        } else {
            if (!ahead.empty()) {
                // One block off a run that may hold none is no proof.
                Linear& top = ahead.back().count;
                noteSlack(top);
                if (top.constant < 1) {
                    return std::nullopt;
                }
                top.constant -= 1;
                if (isZero(top)) {
                    ahead.pop_back();
                }
            }
            addSmall(rule.steps.constant, crossing->steps);
            if (onward) {
                rule.shift.constant += facingRight ? 1 : -1;
            }
            putOne(behind, crossing->write);
        }
        state = crossing->next;
        facingRight = crossing->exitRight;
    }

    // Back to the same blocks, each run x_i + its base + a fixed change.
    if (overflow || state != from.state || facingRight != from.facingRight ||
        left.size() != from.left.size() || right.size() != from.right.size()) {
        return std::nullopt;
    }
    index = 0;
    for (const auto& [side, original] : {std::pair{&left, &from.left}, {&right, &from.right}}) {
        for (std::size_t i = 0; i < side->size(); ++i, ++index) {
            const Run& run = (*side)[i];
            if (run.block != (*original)[i].block) {
                return std::nullopt;
            }
            for (std::size_t v = 0; v < variables; ++v) {
                if (run.count.coefficients[v] != (v == index && !bounds[index].fixed ? 1 : 0)) {
                    return std::nullopt;
                }
            }
            rule.delta.push_back(run.count.constant - bounds[index].least);
        }
    }
    return rule;
}

std::optional<Jump> ProofSystem::apply(const Rule& rule, MacroTape& tape,
                                       const std::optional<mpz_class>& remaining) {
    // The runs are long when rules pay off: they are read and changed where
    // they stand, not copied.
    std::vector<mpz_class> x(rule.bounds.size());
    std::optional<mpz_class> times;
    // What each application takes from the run that limits `times`.
    mpz_class limitingLoss = 1;
    bool fits = true;
    forEachRun(tape, [&](std::size_t i, const TapeRun& run) {
        x[i] = run.count - rule.bounds[i].least;
        if (x[i] < 0 || (rule.bounds[i].fixed && x[i] != 0)) {
            fits = false;
            return;
        }
        if (rule.delta[i] < 0) {
            // Each application needs the run at its base, so it fits x / -delta + 1 times.
            mpz_class most = x[i] / -rule.delta[i];
            most += 1;
            if (!times || most < *times) {
                times = std::move(most);
                limitingLoss = -rule.delta[i];
            }
        }
        if (rule.bounds[i].fixed && rule.delta[i] != 0) {
            // The proof holds for this run's length only, which one application changes.
            times = 1;
        }
    });
    if (!fits) {
        return std::nullopt;
    }
    // With value(x) = c + sum a_i x_i, application j = 0 .. m-1 counts
    // value(x + j * delta) = first + j * growth, where first = value(x) and
    // growth = sum a_i delta_i.
    const auto termsOf = [&](const Linear& value) {
        std::pair<mpz_class, mpz_class> terms{value.constant, 0};
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (value.coefficients[i] != 0) {
                const mpz_class coefficient = bigOf(value.coefficients[i]);
                terms.first += coefficient * x[i];
                terms.second += coefficient * rule.delta[i];
            }
        }
        return terms;
    };
    // Their sum, m first + m (m - 1) / 2 growth, from m^2 as `squareOfM`
    // gives it: a squaring costs less than a product of two long numbers,
    // and often the square is known.
    const auto sum = [](const std::pair<mpz_class, mpz_class>& terms, const mpz_class& m,
                        const auto& squareOfM) {
        mpz_class result = terms.first * m;
        if (terms.second != 0) {
            mpz_class pairs = squareOfM() - m;
            pairs >>= 1;
            mpz_addmul(result.get_mpz_t(), terms.second.get_mpz_t(), pairs.get_mpz_t());
        }
        return result;
    };
    const auto total = [&](const Linear& value, const mpz_class& m) {
        return sum(termsOf(value), m, [&] { return mpz_class(m * m); });
    };
    if (remaining && (!times || total(rule.steps, *times) > *remaining)) {
        // The most applications that the steps left allow: each makes at least one.
        mpz_class low = 0;
        mpz_class high = times ? *times : *remaining;
        while (low < high) {
            const mpz_class middle = (low + high + 1) / 2;
            if (total(rule.steps, middle) <= *remaining) {
                low = middle;
            } else {
                high = middle - 1;
            }
        }
        times = low;
    } else if (!times) {
        neverEnding_ = NeverEndingRule{tape, rule.delta, total(rule.steps, 1),
                                       total(rule.steps, 2) - 2 * total(rule.steps, 1)};
        return Jump{0, 0, 0, true};
    }
    const mpz_class& m = *times;
    if (m == 0) {
        return std::nullopt;
    }

    std::optional<mpz_class> square;
    const auto squareOfTimes = [&]() -> const mpz_class& {
        if (!square) {
            square = squareOf(m, limitingLoss);
        }
        return *square;
    };
    Jump jump{sum(termsOf(rule.steps), m, squareOfTimes),
              sum(termsOf(rule.shift), m, squareOfTimes), 0};
    for (std::size_t i = 0; i < tape.left.size(); ++i) {
        mpz_addmul(jump.leftGrowth.get_mpz_t(), rule.delta[i].get_mpz_t(), m.get_mpz_t());
    }
    forEachRun(tape, [&](std::size_t i, TapeRun& run) {
        const mpz_class& delta = rule.delta[i];
        const bool grows = delta != 0 && isShort(run.count) && isShort(delta);
        const mpz_class before = grows ? run.count : mpz_class(0);
        mpz_addmul(run.count.get_mpz_t(), delta.get_mpz_t(), m.get_mpz_t());
        if (grows && !isShort(run.count)) {
            // A run that grew long is often the one that the next rule counts
            // down: (c + delta m)^2 = c^2 + 2 c delta m + delta^2 m^2.
            mpz_class grown = squareOfTimes() * (delta * delta);
            const mpz_class twice = 2 * before * delta;
            mpz_addmul(grown.get_mpz_t(), twice.get_mpz_t(), m.get_mpz_t());
            grown += before * before;
            squares.remember(run.count, std::move(grown));
        }
    });
    jump.leftGrowth -= normalise(tape.left);
    normalise(tape.right);
    // The sightings so far are void now, but their storage is kept for the
    // next round when there is little of it.
    if (history.size() > mostSightingsKeptOver) {
        history.clear();
    }
    ++applied;
    return jump;
}

mpz_class ProofSystem::squareOf(const mpz_class& m, const mpz_class& loss) const {
    // m - 1 applications leave the limiting run `loss` (m - 1) shorter, most
    // often a run that an earlier rule grew and whose square is known.
    mpz_class taken = m - 1;
    taken *= loss;
    if (auto known = squares.squareOf(taken)) {
        if (loss != 1) {
            mpz_divexact(known->get_mpz_t(), known->get_mpz_t(),
                         mpz_class(loss * loss).get_mpz_t());
        }
        // m^2 = (m - 1)^2 + (m - 1) + m
        *known += m;
        *known += m - 1;
        return *known;
    }
    return m * m;
}
