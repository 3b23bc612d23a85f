// The checks' own tally: each CHECK counts as passed or failed, a failure is
// printed with its file and line, and the program ends with "N passed, M failed".
#ifndef ZARN_CONFORMANCE_CHECK_H
#define ZARN_CONFORMANCE_CHECK_H

namespace conformance {

void recordCheck(bool passed, const char* expression, const char* file, int line);
void recordEqual(long long actual, long long expected, const char* expression, const char* file,
                 int line);
void recordSameText(const char* actual, const char* expected, const char* expression,
                    const char* file, int line);
int printSummary();

}  // namespace conformance

#define CHECK(condition) conformance::recordCheck((condition), #condition, __FILE__, __LINE__)
#define CHECK_EQ(actual, expected)                                                             \
    conformance::recordEqual(static_cast<long long>(actual), static_cast<long long>(expected), \
                             #actual " == " #expected, __FILE__, __LINE__)
#define CHECK_TEXT(actual, expected) \
    conformance::recordSameText((actual), (expected), #actual, __FILE__, __LINE__)

#endif
