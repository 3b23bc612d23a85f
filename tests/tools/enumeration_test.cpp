#include <gtest/gtest.h>

#include <string>

#include "tests/tools/tm_run_process.h"

namespace {

// The busy beavers of each size, found from scratch: every machine in tree
// normal form, each decided, the counts as tm-run prints them. 4x2 takes
// half a minute of both cores in the default build and minutes under the
// sanitizers, so the sanitizer build leaves it out.
TEST(Enumeration, EachSizeReproducesTheBusyBeaversAndCountsEveryVerdict) {
    struct Row {
        std::string size;
        std::string out;
    };
    const Row rows[] = {
        {"2x2",
         "machines: 149 (each and its mirror image once)\n"
         "halt: 19\n"
         "never halt, cycler: 17\n"
         "never halt, translated cycler: 107\n"
         "never halt, proven rule that never runs out: 0\n"
         "never halt, halting unreachable: 6\n"
         "never halt, closed tape language: 0\n"
         "never halt, repeated words: 0\n"
         "never halt, finite automata: 0\n"
         "undecided: 0\n"
         "most steps: 6 0RB1RZ_1LA1RB\n"
         "most ones: 4 1RB1LB_1LA1RZ\n"},
        {"3x2",
         "machines: 21257 (each and its mirror image once)\n"
         "halt: 1772\n"
         "never halt, cycler: 2735\n"
         "never halt, translated cycler: 15815\n"
         "never halt, proven rule that never runs out: 8\n"
         "never halt, halting unreachable: 898\n"
         "never halt, closed tape language: 28\n"
         "never halt, repeated words: 1\n"
         "never halt, finite automata: 0\n"
         "undecided: 0\n"
         "most steps: 21 1RB1RZ_1LB0RC_1LC1LA\n"
         "most ones: 6 1RB1LC_1LA1RB_1LB1RZ\n"},
        {"2x3",
         "machines: 10897 (each and its mirror image once)\n"
         "halt: 909\n"
         "never halt, cycler: 1099\n"
         "never halt, translated cycler: 7776\n"
         "never halt, proven rule that never runs out: 5\n"
         "never halt, halting unreachable: 949\n"
         "never halt, closed tape language: 159\n"
         "never halt, repeated words: 0\n"
         "never halt, finite automata: 0\n"
         "undecided: 0\n"
         "most steps: 38 1RB2LB1RZ_2LA2RB1LB\n"
         "most ones: 9 1RB2LB1RZ_2LA2RB1LB\n"},
#ifndef ZARN_SANITIZE
        {"4x2",
         "machines: 3995005 (each and its mirror image once)\n"
         "halt: 249693\n"
         "never halt, cycler: 506588\n"
         "never halt, translated cycler: 3022820\n"
         "never halt, proven rule that never runs out: 641\n"
         "never halt, halting unreachable: 207449\n"
         "never halt, closed tape language: 7250\n"
         "never halt, repeated words: 559\n"
         "never halt, finite automata: 5\n"
         "undecided: 0\n"
         "most steps: 107 1RB1LB_1LA0LC_1RZ1LD_1RD0RA\n"
         "most ones: 13 1RB1LB_1LA0LC_1RZ1LD_1RD0RA\n"},
#endif
    };
    for (const Row& row : rows) {
        const TmRunResult result = runTmRun({"--enumerate", row.size});
        EXPECT_EQ(result.out, row.out) << row.size;
    }
}

}  // namespace
