#include "failing_allocation.h"

#include <dlfcn.h>
#include <execinfo.h>
#include <link.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <new>
#include <utility>

namespace {

// Where an address lies: in the program, in a runtime library that the
// program and the system both call (the standard library, a sanitizer), or
// in the system.
enum class Origin { program, runtime, system };

struct Range {
    std::uintptr_t begin;
    std::uintptr_t end;
    Origin origin;
};

// Fixed arrays: a container here would allocate through the operator new it
// stands in for.
Range ranges[512];
int rangeCount = 0;

const char* const programLibrary = "libzarn_ui_swept";
const char* const runtimeLibraries[] = {"libstdc++", "libc.so", "libgcc_s", "libasan",
                                        "libubsan",  "libm.so", "ld-linux"};

Origin originOfObject(const char* name) {
    if (std::strstr(name, programLibrary) != nullptr) {
        return Origin::program;
    }
    for (const char* runtime : runtimeLibraries) {
        if (std::strstr(name, runtime) != nullptr) {
            return Origin::runtime;
        }
    }
    return Origin::system;
}

int addRanges(dl_phdr_info* object, std::size_t, void*) {
    const Origin origin = originOfObject(object->dlpi_name);
    for (int i = 0; i < object->dlpi_phnum && rangeCount < std::ssize(ranges); ++i) {
        const ElfW(Phdr)& segment = object->dlpi_phdr[i];
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_X)) {
            const std::uintptr_t begin = object->dlpi_addr + segment.p_vaddr;
            ranges[rangeCount++] = {begin, begin + segment.p_memsz, origin};
        }
    }
    return 0;
}

Origin originOf(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    for (int i = 0; i < rangeCount; ++i) {
        if (ranges[i].begin <= at && at < ranges[i].end) {
            return ranges[i].origin;
        }
    }
    return Origin::system;
}

// The first caller outside the runtime libraries decides: a string that the
// stand-in grows is the system's, one that the editor's text fills is ours.
bool madeByTheProgram(const void* caller) {
    const Origin origin = originOf(caller);
    if (origin != Origin::runtime) {
        return origin == Origin::program;
    }
    void* frames[64];
    const int depth = backtrace(frames, 64);
    int frame = 0;
    while (frame < depth && frames[frame] != caller) {
        ++frame;
    }
    for (; frame < depth; ++frame) {
        const Origin outer = originOf(frames[frame]);
        if (outer != Origin::runtime) {
            return outer == Origin::program;
        }
    }
    return false;
}

bool armed = false;
bool forwarding = false;
long long counted = 0;
long long failAt = 0;

bool failsNow(const void* caller) {
    if (!armed || forwarding || (failAt != 0 && counted >= failAt) || !madeByTheProgram(caller)) {
        return false;
    }
    return ++counted == failAt;
}

using Allocate = void* (*)(std::size_t);

// The allocator that this one stands in front of: the sanitizer's or the
// standard library's. Allocations that it makes itself are not counted.
Allocate nextAllocator(const char* symbol) {
    return reinterpret_cast<Allocate>(dlsym(RTLD_NEXT, symbol));
}

void* forward(Allocate next, std::size_t size) {
    struct Forwarding {
        bool was = std::exchange(forwarding, true);
        ~Forwarding() { forwarding = was; }
    } scope;
    return next(size);
}

static_assert(sizeof(std::size_t) == 8, "the mangled names below are those of 64-bit Linux");

}  // namespace

namespace failingAllocation {

void arm(long long nth) {
    if (rangeCount == 0) {
        dl_iterate_phdr(addRanges, nullptr);
        void* warmUp[1];
        backtrace(warmUp, 1);
    }
    counted = 0;
    failAt = nth;
    armed = true;
}

long long disarm() {
    armed = false;
    return counted;
}

}  // namespace failingAllocation

void* operator new(std::size_t size) {
    if (failsNow(__builtin_return_address(0))) {
        throw std::bad_alloc();
    }
    static const Allocate next = nextAllocator("_Znwm");
    return forward(next, size);
}

void* operator new[](std::size_t size) {
    if (failsNow(__builtin_return_address(0))) {
        throw std::bad_alloc();
    }
    static const Allocate next = nextAllocator("_Znam");
    return forward(next, size);
}
