#ifndef ZARN_TOOLS_TM_RUN_EXIT_STATUS_H
#define ZARN_TOOLS_TM_RUN_EXIT_STATUS_H

// What tm-run's exit status tells a script; --help lists the same values.
enum ExitStatus : int {
    exitFinished = 0,     // reached the finish state
    exitFailure = 1,      // bad command line, or a file that cannot be read or written
    exitUnparseable = 2,  // the description does not make a runnable machine
    exitStepLimit = 3,    // --max-steps reached before the finish state
    exitStuck = 4,        // stuck or endless: the machine can never finish
    exitOutOfMemory = 5,  // stopped before the tape took more memory than allowed
};

#endif
