#ifndef ZARN_TOOLS_TM_RUN_BIG_COUNT_H
#define ZARN_TOOLS_TM_RUN_BIG_COUNT_H

#include <gmpxx.h>

#include <climits>
#include <cstdint>
#include <optional>

// GMP's C++ interface takes and gives `long`, which is 32 bits on Windows:
// 64-bit values go through two halves.
inline mpz_class bigOf(std::int64_t value) {
    mpz_class result = static_cast<long>(value >> 32);
    result <<= 32;
    result += static_cast<unsigned long>(value & 0xffffffff);
    return result;
}

// Adds without making a number of its own where `long` holds the value.
inline void addSmall(mpz_class& to, std::int64_t value) {
    if (value >= LONG_MIN && value <= LONG_MAX) {
        to += static_cast<long>(value);
    } else {
        to += bigOf(value);
    }
}

// The value, when it lies between INT64_MIN and INT64_MAX.
inline std::optional<std::int64_t> int64Of(const mpz_class& value) {
    static const mpz_class lowest = bigOf(INT64_MIN);
    static const mpz_class highest = bigOf(INT64_MAX);
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    const mpz_class high = value >> 32;
    const mpz_class low = value - (high << 32);
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(high.get_si()) << 32 |
                                     low.get_ui());
}

#endif
