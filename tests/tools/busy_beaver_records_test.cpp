#include <gmpxx.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/tools/tm_run_process.h"

namespace {

// A number as the literature gives it: all its digits, or, when it is long,
// how many digits it has and its first and last few.
struct Published {
    std::size_t digits;
    std::string first;
    std::string last;
};

bool matches(const mpz_class& value, const Published& published) {
    const std::string text = value.get_str();
    return text.size() == published.digits && text.rfind(published.first, 0) == 0 &&
           text.compare(text.size() - published.last.size(), std::string::npos, published.last) ==
               0;
}

Published exactly(const std::string& digits) {
    return {digits.size(), digits, digits};
}

// Published busy beaver results, in the notation they were published in:
// the step count and how many cells are not blank at the end, exactly.
TEST(BusyBeaverRecords, AreReproducedExactly) {
    const struct {
        const char* machine;
        Published steps;
        Published written;
    } rows[] = {
        {"1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA", exactly("47176870"), exactly("4098")},
        // Its halt written as no transition, which writes nothing.
        {"1RB1LC_1RC1RB_1RD0LE_1LA1LD_---0LA", exactly("47176870"), exactly("4097")},
        {"1RB2LA1RA1RA_1LB1LA3RB1RZ", exactly("3932964"), exactly("2050")},
        {"1RB2LA1LC_0LA2RB1LB_1RZ1RA1RC", exactly("119112334170342540"), exactly("374676383")},
        {"1RB1RA_1LC1LB_0RF1LD_1RA0LE_1RZ1LF_0LA0LC", exactly("8690333381690951"),
         exactly("95524079")},
        {"1RB0LC_1LA1RC_1RA0LD_1LE1LC_1RF1RZ_1RA1RE",
         {120, "612351597", "788910538"},
         {61, "142869590", "017928251"}},
    };
    for (const auto& row : rows) {
        const TmRunResult run = runTmRun({"--counts", "-"}, std::string(row.machine) + "\n");
        ASSERT_EQ(run.status, 0) << row.machine << "\n" << run.err;
        std::istringstream lines(run.out);
        std::string line;
        mpz_class steps;
        mpz_class written;
        while (std::getline(lines, line)) {
            if (line.rfind("Run complete! ", 0) == 0) {
                steps = mpz_class(line.substr(14, line.find(' ', 14) - 14));
            } else if (line.rfind("symbol '", 0) == 0 && line[8] != '^') {
                written += mpz_class(line.substr(12));
            }
        }
        EXPECT_TRUE(matches(steps, row.steps)) << row.machine << " took " << steps << " steps";
        EXPECT_TRUE(matches(written, row.written))
            << row.machine << " left " << written << " cells written";
    }
}

}  // namespace
