#include "failing_allocation.h"

#include <new>

namespace {

int allocationsUntilFailure = 0;

}  // namespace

void failNothrowAllocation(int nth) {
    allocationsUntilFailure = nth;
}

// Goes through the ordinary operator new, so that every delete still matches.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (allocationsUntilFailure > 0 && --allocationsUntilFailure == 0) {
        return nullptr;
    }
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
