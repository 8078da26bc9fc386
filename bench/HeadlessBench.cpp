// vorlix-headless as a process: its processor time while idle, and its start-up.

#include "BenchConfiguration.h"
#include "LoopbackDisplays.h"
#include "MeasuringWindow.h"
#include "ProcessorTime.h"
#include "Samples.h"

#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

constexpr int SourcesOfEachKind = 5;
constexpr std::uint16_t FileTimeoutMsec = 5000;

// A configuration directory whose displays are `displays`, each with `rows` rows.
void WriteConfiguration(const TempDir& directory, const TLoopbackDisplays& displays, int rows,
                        std::uint32_t displayTimeMsec) {
    TBenchConfiguration configuration(directory.Path());
    configuration.AddStaticSources(SourcesOfEachKind);
    configuration.AddFileSources(SourcesOfEachKind, FileTimeoutMsec);
    for (std::size_t display = 0; display < displays.Count(); ++display) {
        configuration.AddDisplay(displays.Address(display), rows, displayTimeMsec);
    }
    configuration.Write();
}

// Whether `received` holds the whole line of the display's first row.
bool HoldsFirstRow(std::size_t display, const std::string& received) {
    const std::size_t text = received.find(TBenchConfiguration::RowText(static_cast<int>(display) + 1, 1));
    return text != std::string::npos && received.find("\r\n", text) != std::string::npos;
}

// `displays` displays, each with two rows of 60 s; once every display shows its first row, the
// processor time over the measuring window.
void HeadlessIdle(benchmark::State& state, std::size_t displayCount) {
    const auto window = MeasuringWindow(state);
    TLoopbackDisplays displays(displayCount);
    TempDir directory;
    WriteConfiguration(directory, displays, 2, 60000);
    for (auto _ : state) {
        ChildProcess headless({VORLIX_HEADLESS_PROGRAM, directory.Path().string()});
        for (std::size_t display = 0; display < displays.Count(); ++display) {
            if (!displays.WaitFor(
                    display,
                    [display](const std::string& received) { return HoldsFirstRow(display, received); },
                    10s)) {
                state.SkipWithError(("a display never showed its first row: " + headless.Output()).c_str());
                return;
            }
        }
        const double processorBefore = ProcessorSeconds(headless.Pid());
        const auto start = SteadyClock::now();
        headless.DrainOutput(window);
        const double processor = ProcessorSeconds(headless.Pid()) - processorBefore;
        const double elapsed = std::chrono::duration<double>(SteadyClock::now() - start).count();
        state.SetIterationTime(elapsed);
        state.counters["cpu_percent"] = 100 * processor / elapsed;
    }
}

// Twenty displays of 50 rows each; from starting the process until the first row of any
// display has arrived whole.
void HeadlessStartUp(benchmark::State& state) {
    TSamples starts;
    for (auto _ : state) {
        TLoopbackDisplays displays(20);
        TempDir directory;
        WriteConfiguration(directory, displays, 50, 5000);
        const auto start = SteadyClock::now();
        ChildProcess headless({VORLIX_HEADLESS_PROGRAM, directory.Path().string()});
        if (!displays.WaitForAny(HoldsFirstRow, 10s)) {
            state.SkipWithError(("no display showed its first row: " + headless.Output()).c_str());
            return;
        }
        const auto elapsed = SteadyClock::now() - start;
        starts.AddIteration(state, elapsed);
    }
    state.counters["median_ms"] = starts.Median();
    state.counters["worst_ms"] = starts.Worst();
}

BENCHMARK_CAPTURE(HeadlessIdle, 10, 10)->Arg(30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(HeadlessIdle, 100, 100)->Arg(30)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(HeadlessStartUp)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
