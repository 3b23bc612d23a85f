#include "tools/tm-run/repeated_word_decider.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tools/tm-run/decision.h"
#include "tools/tm-run/proven_rule_decider.h"

namespace {

// The checker shares no code with the decider: it unpacks the block ahead
// into cells, steps them on its own and looks the outcome up in the set.
void checkRepeatedWords(const DeciderMachine& machine, const WordListCertificate& c) {
    const int base = machine.symbolCount;
    const int k = c.blockSize;
    long long blocks = 1;
    for (int i = 0; i < k; ++i) {
        blocks *= base;
    }
    const std::set<WordListConfiguration> known(c.configurations.begin(), c.configurations.end());
    ASSERT_TRUE(known.count(WordListConfiguration{}));
    for (const WordListConfiguration& here : known) {
        const std::vector<WordRun>& ahead = here.facingRight ? here.right : here.left;
        const WordRun taken = ahead.empty() ? WordRun{0, 1} : ahead.back();
        // A run at the threshold may be longer: one fewer may leave it there.
        const int most = taken.count == c.threshold ? taken.count : taken.count - 1;
        for (int left = taken.count - 1; left <= most; ++left) {
            WordListConfiguration next = here;
            std::vector<WordRun>& rest = next.facingRight ? next.right : next.left;
            if (!ahead.empty()) {
                rest.back().count = left;
                if (left == 0) {
                    rest.pop_back();
                }
            }
            std::vector<int> cells;
            for (std::uint64_t word = taken.word; cells.size() < static_cast<std::size_t>(k);
                 word /= base) {
                cells.push_back(static_cast<int>(word % base));
            }
            int at = here.facingRight ? 0 : k - 1;
            long long steps = 0;
            for (; at >= 0 && at < k && steps <= blocks * k * machine.stateCount; ++steps) {
                const DeciderTransition& t = machine.table[next.state * base + cells[at]];
                ASSERT_TRUE(t.defined && t.next != DeciderTransition::halt) << taken.word;
                cells[at] = t.write;
                at += t.move;
                next.state = t.next;
            }
            if (at >= 0 && at < k) {
                continue;  // it never leaves the block
            }
            std::uint64_t word = 0;
            for (auto cell = cells.rbegin(); cell != cells.rend(); ++cell) {
                word = word * base + *cell;
            }
            next.facingRight = at == k;
            std::vector<WordRun>& behind = next.facingRight ? next.left : next.right;
            if (!behind.empty() && behind.back().word == word) {
                behind.back().count = std::min(behind.back().count + 1, c.threshold);
            } else if (!behind.empty() || word != 0) {
                behind.push_back({word, 1});
            }
            ASSERT_TRUE(known.count(next)) << taken.word << " from state " << here.state;
        }
    }
}

TEST(RepeatedWordDecider, BouncersGetCertificatesThatCheckAndHaltingMachinesNone) {
    const DecideBudget budget;
    // Bouncers of several block sizes and thresholds, which nothing before
    // this decider decides and the proof system does not either.
    const std::string bouncers[] = {
        "1RB0LB_1LC1RB_---1LA",        "1RB0LB_1LA0LC_---0LD_1RD0RA", "1RB1LA_1LA0RC_1LD1RC_---0LA",
        "0RB1LB_1LC1LD_1RD---_1LA0RD", "1RB0LC_1LB1LA_1RC0LD_---0RA",
    };
    for (const std::string& line : bouncers) {
        std::string error;
        const DeciderMachine machine = parseOneLine(line, error);
        const Verdict verdict = decide(machine, budget);
        ASSERT_EQ(verdict.kind, VerdictKind::RepeatedWords) << line;
        checkRepeatedWords(machine, verdict.words);
        EXPECT_EQ(decideProvenRule(machine, 1'000'000, 1 << 14).kind, VerdictKind::Undecided)
            << line;
    }
    for (const std::string line : {"1RB1LB_1LA0LC_1RZ1LD_1RD0RA", "1RB2LB1RZ_2LA2RB1LB"}) {
        std::string error;
        EXPECT_EQ(decideRepeatedWords(parseOneLine(line, error), budget.words).kind,
                  VerdictKind::Undecided)
            << line;
    }
}

}  // namespace
