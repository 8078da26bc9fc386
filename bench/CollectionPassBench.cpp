// One collection pass of the model: every source refreshed, fresh values handed to every client.

#include "BenchConfiguration.h"
#include "Samples.h"

#include "model/LocalViewModel.h"
#include "support/TempDir.h"
#include "support/TestClock.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

// The program's collection tick.
constexpr std::int64_t TickMsec = 100;
// Below the tick, so that every file and expression source is due on every pass: the heaviest
// steady state.
constexpr std::uint16_t SourceTimeoutMsec = 50;

// `sources` sources (half static, 30 % file, 20 % expression) and `clients` TCP display clients.
// The clients are not connected: the pass only hands them values.
void CollectionPass(benchmark::State& state, int sources, int clients) {
    TempDir directory;
    TBenchConfiguration configuration(directory.Path());
    configuration.AddStaticSources(sources / 2);
    configuration.AddFileSources(sources * 3 / 10, SourceTimeoutMsec);
    configuration.AddExpressionSources(sources / 5, SourceTimeoutMsec);
    for (int client = 0; client < clients; ++client) {
        configuration.AddDisplay("127.0.0.1:9", 0, 0);
    }
    configuration.Write();

    TestClock clock;
    TLocalViewModel model;
    model.LoadFromDictionary(directory.Path().string());
    model.CollectData();
    const std::string computed = model.GetDatasourceFromCache("E1")->Value.DelimitedText();
    if (computed.find("Error") != std::string::npos) {
        state.SkipWithError(("the expression sources fail: " + computed).c_str());
        return;
    }

    TSamples passes;
    for (auto _ : state) {
        clock.Advance(TickMsec);
        const auto start = std::chrono::steady_clock::now();
        model.CollectData();
        const auto elapsed = std::chrono::steady_clock::now() - start;
        passes.AddIteration(state, elapsed);
    }
    state.counters["median_ms"] = passes.Median();
    state.counters["p99_ms"] = passes.Percentile(0.99);
}

BENCHMARK_CAPTURE(CollectionPass, 100x10, 100, 10)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CollectionPass, 1000x50, 1000, 50)
    ->Iterations(200)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
