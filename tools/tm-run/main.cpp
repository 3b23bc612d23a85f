#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "engine/machine_runner.h"
#include "tools/tm-run/accelerated_run.h"
#include "tools/tm-run/command_line.h"
#include "tools/tm-run/decide_command.h"
#include "tools/tm-run/description_file.h"
#include "tools/tm-run/exit_status.h"
#include "tools/tm-run/memory_ceiling.h"
#include "tools/tm-run/progress_meter.h"
#include "tools/tm-run/run_loop.h"
#include "tools/tm-run/run_picture.h"
#include "tools/tm-run/standard_notation.h"
#include "tools/tm-run/stream_log_sink.h"
#include "tools/tm-run/tape_report.h"
#include "tools/tm-run/trace_writer.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "tm-run: %s\n", message.c_str());
    return exitFailure;
}

RunResult runMachine(MachineRunner& runner, const RunOptions& options, std::size_t textLength,
                     TraceWriter* trace) {
    // The description's own cells lie within its text's length of position 0.
    const auto writtenEnd = static_cast<std::int32_t>(
        std::min<std::size_t>(textLength, std::numeric_limits<std::int32_t>::max()));
    const RunSettings settings{options.maxSteps, options.showTape || options.showCounts, writtenEnd,
                               !options.showTape};
    ProgressMeter progress = ProgressMeter::forTerminal(stderr);
    if (trace != nullptr) {
        return runTraced(runner, settings, progress, *trace);
    }
    if (options.plain) {
        return runSilently(runner, settings, progress);
    }
    return runAccelerated(runner, settings, progress);
}

int reportOutcome(const RunResult& result) {
    switch (result.outcome) {
        case RunOutcome::Finished:
            std::printf("Run complete! %s steps.\n", result.steps.get_str().c_str());
            return exitFinished;
        case RunOutcome::StepLimit:
            std::fprintf(stderr,
                         "tm-run: stopped after %s steps without reaching the finish state\n",
                         result.steps.get_str().c_str());
            return exitStepLimit;
        case RunOutcome::Stuck:
            std::fprintf(
                stderr,
                "tm-run: stuck after %s steps: in state \"%s\" reading '%c' at position %s, "
                "no rule changes anything, so the finish state is never reached\n",
                result.steps.get_str().c_str(), result.state.c_str(), result.symbol,
                result.headPosition.get_str().c_str());
            return exitStuck;
        case RunOutcome::Endless:
            std::fprintf(stderr,
                         "tm-run: never finishes: after %s steps, in state \"%s\" reading '%c' at "
                         "position %s, the machine repeats a pattern that goes on for ever\n",
                         result.steps.get_str().c_str(), result.state.c_str(), result.symbol,
                         result.headPosition.get_str().c_str());
            return exitStuck;
        case RunOutcome::OutOfMemory:
            std::fprintf(stderr,
                         "tm-run: stopped after %s steps without reaching the finish state: going "
                         "on, the tape would take more than %s GiB of memory; --max-steps N stops "
                         "the run sooner\n",
                         result.steps.get_str().c_str(),
                         std::to_string(memoryCeilingBytes >> 30).c_str());
            return exitOutOfMemory;
        case RunOutcome::TraceFailed:
            break;
    }
    return exitFailure;
}

// In the one-line notation "---" halts, and the literature counts that step:
// the machine stands where it was stuck, one step later, and has finished.
void haltAtUndefinedTransition(RunResult& result) {
    if (result.outcome != RunOutcome::Stuck) {
        return;
    }
    result.outcome = RunOutcome::Finished;
    result.steps += 1;
    std::fprintf(stderr, "tm-run: halted in state %s reading %c, which has no transition\n",
                 result.state.c_str(), result.symbol == blankSymbol ? '0' : result.symbol);
}

int run(const RunOptions& options) {
    DescriptionFile description = readDescriptionFile(options.descriptionPath);
    if (!description.error.empty()) {
        // No such file, but the machine itself, as in "tm-run 1RB1LB_1LA1RZ".
        std::error_code ignored;
        if (std::filesystem::exists(options.descriptionPath, ignored) ||
            !isStandardNotation(options.descriptionPath) ||
            !translateStandardNotation(options.descriptionPath).error.empty()) {
            return fail("cannot read " + options.descriptionPath + ": " + description.error);
        }
        description = {options.descriptionPath, ""};
    }
    const bool oneLine = isStandardNotation(description.text);
    if (oneLine) {
        TranslatedMachine machine = translateStandardNotation(description.text);
        if (!machine.error.empty()) {
            fail(options.descriptionPath +
                 " is no machine in the one-line notation: " + machine.error);
            return exitUnparseable;
        }
        description.text = std::move(machine.description);
    }

    StreamLogSink parserLog(stderr);
    TraceWriter trace;
    const bool tracing = options.tracePath.has_value();
    MachineRunner runner(&parserLog, tracing ? trace.statesSink() : nullptr,
                         tracing ? trace.tapeSink() : nullptr);
    if (runner.parse(description.text.c_str()) == 0) {
        std::fputs("Unable to run\nErrors in turing machine\n", stderr);
        return exitUnparseable;
    }
    // The completion line is ours to print, on standard output, in both modes.
    parserLog.redirect(nullptr);

    std::string error;
    if (tracing && !trace.open(*options.tracePath, error)) {
        return fail("cannot write " + *options.tracePath + ": " + error);
    }
    if (options.picturePath) {
        const std::int64_t pictureSteps =
            std::min(options.pictureSteps, options.maxSteps.value_or(options.pictureSteps));
        if (!saveRunPicture(description.text, pictureSteps, *options.picturePath, error)) {
            return fail("cannot write " + *options.picturePath + ": " + error);
        }
    }
    RunResult result =
        runMachine(runner, options, description.text.size(), tracing ? &trace : nullptr);
    if (oneLine) {
        haltAtUndefinedTransition(result);
    }
    if (tracing && !trace.close(error)) {
        return fail("cannot write " + *options.tracePath + ": " + error);
    }

    const int status = reportOutcome(result);
    if (options.showTape && !result.tape) {
        return fail("the tape holds more than " + std::to_string(reportableCells) +
                    " cells, too many to print; --counts counts them");
    }
    if (result.counts) {
        printTapeReport(stdout, result.tape ? &*result.tape : nullptr, *result.counts,
                        result.headPosition);
    }
    return status;
}

int chooseAndRun(const RunOptions& options) {
    if (options.showHelp) {
        std::fputs(helpText(), stdout);
        return exitFinished;
    }
    if (options.showVersion) {
        std::fputs(versionText(), stdout);
        return exitFinished;
    }
    if (options.enumerateStates > 0) {
        return runEnumerate(options);
    }
    if (options.decide) {
        return runDecide(options);
    }
    return run(options);
}

}  // namespace

int main(int argc, char** argv) {
    const CommandLine commandLine =
        parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "tm-run: %s\nTry 'tm-run --help'.\n", commandLine.error.c_str());
        return exitFailure;
    }
    const int status = chooseAndRun(commandLine.options);
    // A result that never reached its reader is no success.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        fail(std::string("cannot write standard output: ") +
             std::strerror(errno != 0 ? errno : EIO));
        return status == exitFinished ? exitFailure : status;
    }
    return status;
}
