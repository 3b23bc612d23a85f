#include <benchmark/benchmark.h>

#include <string>

#include "busy_beaver5.h"
#include "engine/machine_runner.h"
#include "reference_stepper.h"

namespace {

class DiscardingSink : public LogSink {
public:
    int appendLogLine(const std::string&) override { return lines++; }
    void setLineMarker(int, int) override {}

private:
    int lines = 0;
};

void runEngineBusyBeaver5(benchmark::State& state) {
    for (auto _ : state) {
        DiscardingSink sink;
        MachineRunner runner(&sink, &sink, &sink);
        runner.parse(busy_beaver5::description);
        std::int64_t steps = 0;
        while (runner.isRunning()) {
            runner.step();
            ++steps;
        }
        if (steps != busy_beaver5::stepsToHalt) {
            state.SkipWithError("the engine did not halt after the expected number of steps");
        }
    }
    state.counters["ns_per_step"] = benchmark::Counter(
        static_cast<double>(busy_beaver5::stepsToHalt) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void runReference(benchmark::State& state) {
    for (auto _ : state) {
        if (runReferenceBusyBeaver5() != busy_beaver5::stepsToHalt) {
            state.SkipWithError("the reference did not halt after the expected number of steps");
        }
    }
    state.counters["ns_per_step"] = benchmark::Counter(
        static_cast<double>(busy_beaver5::stepsToHalt) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

std::string ruleLines(int count) {
    std::string text = "tape(.1)\nstart(q0)\nfinish(q" + std::to_string(count) + ")\n";
    for (int i = 0; i < count; ++i) {
        text += "(q" + std::to_string(i) + ",1,q" + std::to_string(i + 1) + ",1,R)\n";
    }
    return text;
}

void parseRuleLines(benchmark::State& state) {
    const std::string text = ruleLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        DiscardingSink sink;
        MachineRunner runner(&sink, &sink, &sink);
        benchmark::DoNotOptimize(runner.parse(text.c_str()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}

}  // namespace

BENCHMARK(runEngineBusyBeaver5)->Unit(benchmark::kMillisecond);
BENCHMARK(runReference)->Unit(benchmark::kMillisecond);
BENCHMARK(parseRuleLines)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
