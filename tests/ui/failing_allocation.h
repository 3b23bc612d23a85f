// Makes one of the program's next nothrow allocations fail, as when memory runs out.
#ifndef ZARN_TESTS_UI_FAILING_ALLOCATION_H
#define ZARN_TESTS_UI_FAILING_ALLOCATION_H

// The nth nothrow `new` from now on (1 for the next) returns null; 0 disarms.
void failNothrowAllocation(int nth);

#endif
