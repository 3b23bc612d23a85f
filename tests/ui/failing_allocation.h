// Makes one of the program's own allocations fail, as when memory runs out.
// The program is ui/ and the engine, built into a shared library of their own
// so that each allocation is told apart by the code that makes it; the Win32
// stand-in, Qt and the tests allocate from what stands for the system's heap
// and never fail.
#ifndef ZARN_TESTS_UI_FAILING_ALLOCATION_H
#define ZARN_TESTS_UI_FAILING_ALLOCATION_H

namespace failingAllocation {

// Counts the program's allocations from now on; the nth (1 for the next) throws
// std::bad_alloc, or none when nth is 0.
void arm(long long nth);
// Stops counting; returns how many allocations the program made while armed.
long long disarm();

}  // namespace failingAllocation

#endif
