#include "tests/conformance/check.h"

#include <cstdio>
#include <cstring>

namespace conformance {
namespace {

int passed = 0;
int failed = 0;

void fail(const char* file, int line, const char* expression) {
    ++failed;
    std::printf("%s:%d: failed: %s\n", file, line, expression);
}

}  // namespace

void recordCheck(bool ok, const char* expression, const char* file, int line) {
    if (ok) {
        ++passed;
        return;
    }
    fail(file, line, expression);
    std::fflush(stdout);
}

void recordEqual(long long actual, long long expected, const char* expression, const char* file,
                 int line) {
    if (actual == expected) {
        ++passed;
        return;
    }
    fail(file, line, expression);
    std::printf("    got %lld (0x%llx), expected %lld (0x%llx)\n", actual, actual, expected,
                expected);
    std::fflush(stdout);
}

void recordSameText(const char* actual, const char* expected, const char* expression,
                    const char* file, int line) {
    if (actual && expected && std::strcmp(actual, expected) == 0) {
        ++passed;
        return;
    }
    fail(file, line, expression);
    std::printf("    got \"%s\", expected \"%s\"\n", actual ? actual : "(null)",
                expected ? expected : "(null)");
    std::fflush(stdout);
}

int printSummary() {
    std::printf("%d passed, %d failed\n", passed, failed);
    std::fflush(stdout);
    return failed == 0 ? 0 : 1;
}

}  // namespace conformance
