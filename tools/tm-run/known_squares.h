#ifndef ZARN_TOOLS_TM_RUN_KNOWN_SQUARES_H
#define ZARN_TOOLS_TM_RUN_KNOWN_SQUARES_H

#include <gmpxx.h>

#include <cstddef>
#include <optional>
#include <vector>

// The squares of a few long numbers met lately. The square of a number that
// differs from one of them by a short amount d then takes no long product:
// (k + d)^2 = k^2 + d (2k + d), a few passes over k.
class KnownSquares {
public:
    std::optional<mpz_class> squareOf(const mpz_class& value) const {
        for (const Known& known : latest) {
            const std::size_t size = mpz_size(known.value.get_mpz_t());
            const std::size_t valueSize = mpz_size(value.get_mpz_t());
            if (valueSize + 1 < size || size + 1 < valueSize) {
                continue;
            }
            mpz_class difference = value - known.value;
            if (mpz_size(difference.get_mpz_t()) > 1) {
                continue;
            }
            mpz_class square = known.value + value;
            square *= difference;
            square += known.square;
            return square;
        }
        return std::nullopt;
    }

    // Newest first; the oldest goes when there are more than a few.
    void remember(mpz_class value, mpz_class square) {
        if (latest.size() == kept) {
            latest.pop_back();
        }
        latest.insert(latest.begin(), {std::move(value), std::move(square)});
    }

private:
    static constexpr std::size_t kept = 4;
    struct Known {
        mpz_class value;
        mpz_class square;
    };
    std::vector<Known> latest;
};

#endif
