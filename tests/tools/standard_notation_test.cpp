#include "tools/tm-run/standard_notation.h"

#include <gtest/gtest.h>

namespace {

TEST(StandardNotation, IsToldFromTheWorkbenchFormatByItsOneLine) {
    const struct {
        const char* text;
        bool notation;
    } rows[] = {
        {"1RB1LC_1RC1RB_1RD0LE_1LA1LD_1RZ0LA", true},
        {"  1RB --- \r\n", true},
        {"---_1RA", true},
        {"...", true},
        {"1RB\n1LA", false},
        {"tape()\nstart(A)\nfinish(Z)\n(A,^,Z,1,R)\n", false},
        {"(A,^,Z,1,R)", false},
        {" \n", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(isStandardNotation(row.text), row.notation) << row.text;
    }
}

TEST(StandardNotation, TranslatesEachTransitionIntoARuleOrExplainsWhyNot) {
    const std::string head = "tape()\nstart(A)\nfinish(Z)\n";
    const struct {
        const char* line;
        std::string description;
        const char* error;
    } rows[] = {
        {"1RB---_0LA1RZ", head + "(A,^,B,1,R)\n(B,^,A,^,L)\n(B,1,Z,1,R)\n", ""},
        {"1RB2LA--- ...1RH0LA\n", head + "(A,^,B,1,R)\n(A,1,A,2,L)\n(B,1,Z,1,R)\n(B,2,A,^,L)\n",
         ""},
        {"0RB_0RC_0RD_0RE_0RF_0RG_0RH_0LH",
         head + "(A,^,B,^,R)\n(B,^,C,^,R)\n(C,^,D,^,R)\n(D,^,E,^,R)\n(E,^,F,^,R)\n(F,^,G,^,R)\n"
                "(G,^,H,^,R)\n(H,^,H,^,L)\n",
         ""},
        {"1RB0LA_1L", "", "state B is \"1L\", but state A has 2 transitions"},
        {"1R_1LA", "", "state A is \"1R\"; it must be 1 to 10 transitions"},
        {"1XB0LA_1LA0LA", "", "state A, symbol 0: \"1XB\" moves X; the moves are L and R"},
        {"1RB2LA_1LA1RZ", "", "state A, symbol 1: \"2LA\" writes 2, but the symbols are 0 to 1"},
        {"1RB0LA_1LC0LA", "", "state B, symbol 0: \"1LC\" goes to C, but the states are A to B"},
        {"1RB_1RC_1RD_1RE_1RF_1RG_1RH_1RI_1RJ_1RK_1RL_1RM_1RN_1RO_1RP_1RQ_1RR_1RS_1RT_1RU_1RV_1RW_"
         "1RX_1RY_1RZ_1RZ",
         "", "26 states; at most 25"},
    };
    for (const auto& row : rows) {
        const TranslatedMachine machine = translateStandardNotation(row.line);
        EXPECT_EQ(machine.description, row.description) << row.line;
        EXPECT_NE(machine.error.find(row.error), std::string::npos)
            << row.line << " gave the error: " << machine.error;
        EXPECT_EQ(machine.error.empty(), std::string(row.error).empty()) << row.line;
    }
}

}  // namespace
