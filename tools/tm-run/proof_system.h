#ifndef ZARN_TOOLS_TM_RUN_PROOF_SYSTEM_H
#define ZARN_TOOLS_TM_RUN_PROOF_SYSTEM_H

#include <gmpxx.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tools/tm-run/known_squares.h"
#include "tools/tm-run/macro_tape.h"

// The crossing of a block entered in a state from one side; none when the run
// ends inside the block.
using CrossingLookup = std::function<const Crossing*(StateIndex, bool facingRight, BlockId)>;

// What applying rules did to a run: the steps made, how far the head's edge
// moved, in blocks, to the right, and how the runs behind it changed.
struct Jump {
    mpz_class steps;
    mpz_class shift;
    mpz_class leftGrowth;  // how many blocks the runs left of the head gained
    // Instead: the rule applies for ever, and nothing limits the steps.
    bool endless = false;
};

// A proven rule that no application shortens, so that once it applies it
// applies again after every application, for ever.
struct NeverEndingRule {
    MacroTape at;                  // where it first applied, run lengths as then
    std::vector<mpz_class> delta;  // what each application adds to each run, left then right
    mpz_class firstSteps;          // the steps of that first application
    mpz_class stepGrowth;          // how many more each next application takes
};

// Marxen and Buntrock's proof machine. It watches the macro machine for a
// configuration that recurs with the same blocks in the same order, in the
// same state, and with some run lengths changed. From the earlier one it
// replays the same macro steps with every run length a variable x + b, and
// so proves, for every x >= 0, that the configuration goes to itself with
// each run length changed by a fixed amount, in a number of steps linear in
// the x. Such a rule is then applied as many times at once as the run lengths
// allow, its steps summed in closed form.
class ProofSystem {
public:
    explicit ProofSystem(CrossingLookup crossings) : crossings(std::move(crossings)) {}

    // Called before each macro step. Applies a proven rule to `tape` where
    // one fits, at most as often as `remaining` steps allow; returns what it did.
    std::optional<Jump> consider(MacroTape& tape, const std::optional<mpz_class>& remaining);

    std::int64_t rulesApplied() const { return applied; }
    // Set once a jump was endless: the rule that never runs out.
    const std::optional<NeverEndingRule>& neverEnding() const { return neverEnding_; }

    // A run length as a sighting keeps it: the length itself when short
    // (`value` >= 0); for a long one, minus its size in limbs and its lowest limb.
    struct CountPrint {
        std::int64_t value;
        std::uint64_t low;

        bool operator==(const CountPrint&) const = default;
    };

private:
    using Signature = std::vector<std::uint32_t>;
    struct SignatureHash {
        std::size_t operator()(const Signature& signature) const;
    };
    // A number that depends linearly on the run lengths x of a configuration.
    struct Linear {
        mpz_class constant;
        std::vector<std::int64_t> coefficients;
    };
    // A run of a rule is x + `least` long for any x >= 0, or, when fixed,
    // exactly `least`.
    struct Bound {
        mpz_class least;
        bool fixed;
    };
    struct Rule {
        std::vector<Bound> bounds;
        std::vector<mpz_class> delta;  // what one application adds to each run
        Linear steps;                  // in the x
        Linear shift;
    };
    struct Sighting {
        std::int64_t macroStep;
        std::vector<CountPrint> counts;
    };

    // Runs by index, left then right, one bit each.
    using RunSet = std::uint64_t;

    static void signatureOf(const MacroTape& tape, Signature& signature);
    // The runs that `rule` holds fixed at a length other than theirs on `tape`.
    static RunSet changedFixedRuns(const Rule& rule, MacroTape& tape);
    // The runs in `loose` are variables even if they kept their length.
    std::optional<Rule> proveFrom(const MacroTape& now, const Sighting& sighting,
                                  RunSet loose) const;
    // The rule that `macroSteps` macro steps from `from` prove for runs within
    // `bounds`. `slack`, if given, receives how much each run's least length
    // could drop with the same steps still proving the rule.
    std::optional<Rule> prove(const MacroTape& from, const std::vector<Bound>& bounds,
                              std::int64_t macroSteps, std::vector<mpz_class>* slack) const;
    std::optional<Jump> apply(const Rule& rule, MacroTape& tape,
                              const std::optional<mpz_class>& remaining);
    // The square of `m` applications of a rule whose limiting run loses
    // `loss` blocks each: from a known square where there is one.
    mpz_class squareOf(const mpz_class& m, const mpz_class& loss) const;

    CrossingLookup crossings;
    std::int64_t macroStep = 0;
    std::int64_t applied = 0;
    std::optional<NeverEndingRule> neverEnding_;
    struct Sightings {
        // Newest first, `kept` of them, then spares whose storage is reused: a
        // few, so cheaper than a deque.
        std::vector<Sighting> latest;
        std::size_t kept = 0;
        // How many rules had been applied when they were made: a sighting
        // from before an application cannot be replayed to now.
        std::int64_t era = 0;
        std::int64_t times = 0;
        std::int64_t nextTry = 0;
        int failures = 0;
    };
    std::unordered_map<Signature, Sightings, SignatureHash> history;
    std::unordered_map<Signature, Rule, SignatureHash> rules;
    Signature signatureNow;  // kept, so that each step does not make one
    std::vector<CountPrint> countsNow;
    KnownSquares squares;
};

#endif
