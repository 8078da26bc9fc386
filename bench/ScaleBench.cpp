// Large configurations: vorlix-headless starting up with 40,000 sources, and stopping on SIGTERM
// during such a start-up; a collection pass over ten expressions of 65,000 characters, each with
// about 9,000 references.

#include "BenchConfiguration.h"
#include "LoopbackDisplays.h"
#include "Samples.h"

#include "datasources/DisplayDataSourceType.h"
#include "model/LocalViewModel.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

constexpr int ManySources = 40000;
constexpr int ReferencedSources = 1000;
constexpr int LongExpressions = 10;
constexpr std::size_t LongExpressionLength = 65000;
// Below the program's 100 ms tick, so that every expression is due on every pass.
constexpr std::uint16_t DueEveryPassMsec = 50;

// A directory with `ManySources` static sources and one display at `displays`.
void WriteManySources(const TempDir& directory, const TLoopbackDisplays& displays) {
    TBenchConfiguration configuration(directory.Path());
    configuration.AddStaticSources(ManySources);
    configuration.AddDisplay(displays.Address(0), 2, 5000);
    configuration.Write();
}

// From starting the process to its first log line.
void StartUpManySources(benchmark::State& state) {
    TLoopbackDisplays displays(1);
    TempDir directory;
    WriteManySources(directory, displays);
    TSamples starts;
    for (auto _ : state) {
        const auto start = SteadyClock::now();
        ChildProcess headless({VORLIX_HEADLESS_PROGRAM, directory.Path().string()});
        if (!headless.WaitForOutput("\n", 60s)) {
            state.SkipWithError("vorlix-headless logged nothing");
            return;
        }
        const auto elapsed = SteadyClock::now() - start;
        starts.AddIteration(state, elapsed);
    }
    state.counters["median_ms"] = starts.Median();
    state.counters["worst_ms"] = starts.Worst();
}

// SIGTERM 100 ms after the start, while the sources load; until the process has ended.
void StopDuringStartUp(benchmark::State& state) {
    TLoopbackDisplays displays(1);
    TempDir directory;
    WriteManySources(directory, displays);
    TSamples stops;
    for (auto _ : state) {
        ChildProcess headless({VORLIX_HEADLESS_PROGRAM, directory.Path().string()});
        std::this_thread::sleep_for(100ms);
        const auto start = SteadyClock::now();
        headless.Signal(SIGTERM);
        if (!headless.WaitForExit(60s)) {
            state.SkipWithError("vorlix-headless did not end on SIGTERM");
            return;
        }
        const auto elapsed = SteadyClock::now() - start;
        stops.AddIteration(state, elapsed);
    }
    state.counters["worst_ms"] = stops.Worst();
}

std::unique_ptr<TVDataSource> Source(const std::string& name, std::uint16_t type, std::uint16_t timeout,
                                     const std::string& configuration) {
    auto source = std::make_unique<TVDataSource>();
    source->SetName(name);
    source->SetDataSourceType(type);
    source->SetValueType(TDisplayDataSourceBase::ValueType_Numeric);
    source->SetTimeout(timeout);
    source->SetConfiguration(configuration);
    return source;
}

// [S1]+[S2]+... over the referenced sources, again and again, up to the length.
std::string LongExpression() {
    std::string expression = "0";
    for (int reference = 0; expression.size() < LongExpressionLength - 8; ++reference) {
        expression += "+[S" + std::to_string(reference % ReferencedSources + 1) + "]";
    }
    return expression;
}

// One collection pass of a model holding the long expressions and the sources they refer to.
void LongExpressionPass(benchmark::State& state) {
    TBaseObjectList<TVDataSource> sources;
    for (int i = 1; i <= ReferencedSources; ++i) {
        sources.Add(Source("S" + std::to_string(i), DisplayDataSourceType_Static, 0, std::to_string(i)));
    }
    const std::string expression = LongExpression();
    for (int i = 1; i <= LongExpressions; ++i) {
        sources.Add(
            Source("E" + std::to_string(i), DisplayDataSourceType_Expression, DueEveryPassMsec, expression));
    }
    TestClock clock;
    TLocalViewModel model;
    model.ReplaceConfiguration(std::move(sources), TBaseObjectList<TVDisplay>());
    model.CollectData();
    const std::string computed = model.GetDatasourceFromCache("E1")->Value.DelimitedText();
    if (computed.find("Error") != std::string::npos) {
        state.SkipWithError(("the long expressions fail: " + computed).c_str());
        return;
    }
    TSamples passes;
    for (auto _ : state) {
        clock.Advance(100);
        const auto start = SteadyClock::now();
        model.CollectData();
        const auto elapsed = SteadyClock::now() - start;
        passes.AddIteration(state, elapsed);
    }
    state.counters["median_ms"] = passes.Median();
    state.counters["references"] = static_cast<double>(std::count(expression.begin(), expression.end(), '['));
}

BENCHMARK(StartUpManySources)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(StopDuringStartUp)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LongExpressionPass)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
