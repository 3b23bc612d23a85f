#include "failing_allocation.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>

#include <cstring>
#include <new>

namespace {

// Where code lies: in the program, in the system (the test program, which
// holds the stand-in, and Qt), or in a library that both call, such as the
// standard library or a sanitizer.
enum class Origin { program, system, shared };

// Allocates nothing, as the operator new that asks must not.
Origin originOf(void* code) {
    dl_find_object object;
    if (_dl_find_object(code, &object) != 0) {
        return Origin::shared;
    }
    const char* name = object.dlfo_link_map->l_name;
    if (std::strstr(name, "libzarn_ui_swept") != nullptr) {
        return Origin::program;
    }
    // The test program's own name is empty here.
    return *name == '\0' || std::strstr(name, "libQt") != nullptr ? Origin::system : Origin::shared;
}

// The first caller outside the shared libraries decides: a string that the
// stand-in grows is the system's, one that the editor's text fills is ours.
bool madeByTheProgram(void* caller) {
    Origin origin = originOf(caller);
    if (origin == Origin::shared) {
        void* frames[64];
        const int depth = backtrace(frames, 64);
        int frame = 0;
        while (frame < depth && frames[frame] != caller) {
            ++frame;
        }
        while (frame < depth && origin == Origin::shared) {
            origin = originOf(frames[frame++]);
        }
    }
    return origin == Origin::program;
}

bool armed = false;
long long counted = 0;
long long failAt = 0;

bool failsNow(void* caller) {
    if (!armed || (failAt != 0 && counted >= failAt) || !madeByTheProgram(caller)) {
        return false;
    }
    return ++counted == failAt;
}

}  // namespace

namespace failingAllocation {

void arm(long long nth) {
    // Its first call loads the unwinder, which allocates.
    void* warmUp[1];
    backtrace(warmUp, 1);
    counted = 0;
    failAt = nth;
    armed = true;
}

long long disarm() {
    armed = false;
    return counted;
}

}  // namespace failingAllocation

// The sanitizer's operator new, or else the standard library's, serves every
// allocation that does not fail here. The program makes no array allocations.
void* operator new(std::size_t size) {
    if (failsNow(__builtin_return_address(0))) {
        throw std::bad_alloc();
    }
    static_assert(sizeof(std::size_t) == 8, "the mangled name is that of 64-bit Linux");
    static const auto next = reinterpret_cast<void* (*)(std::size_t)>(dlsym(RTLD_NEXT, "_Znwm"));
    return next(size);
}
