#ifndef ZARN_TESTS_FUZZ_FUZZ_CHECK_H
#define ZARN_TESTS_FUZZ_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: say which one and abort, so that libFuzzer
// keeps the input that broke it.
inline void fuzzCheck(bool holds, const char* invariant) {
    if (!holds) {
        std::fprintf(stderr, "invariant broken: %s\n", invariant);
        std::abort();
    }
}

#endif
