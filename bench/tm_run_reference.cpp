#include <cstdio>
#include <cstring>

#include "busy_beaver5.h"
#include "reference_stepper.h"

// The other half of tm_run_ratio.sh: runs the minimal reference stepper on the
// 5-state busy beaver as a process of its own, so that its time and memory can
// be measured exactly as tm-run's are. With --description it prints the same
// machine in the workbench's format instead.
int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--description") == 0) {
        std::fputs(busy_beaver5::description, stdout);
        return 0;
    }
    const std::int64_t steps = runReferenceBusyBeaver5();
    std::printf("%lld steps\n", static_cast<long long>(steps));
    return steps == busy_beaver5::stepsToHalt ? 0 : 1;
}
