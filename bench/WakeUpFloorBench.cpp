// What waking up costs on this machine: the one timed wake-up left in an idle vorlix-headless,
// its driver's 100 ms tick, doing no work at all. The idle figure of vorlix-headless less this
// floor is the program's own work.

#include "MeasuringWindow.h"
#include "ProcessorTime.h"

#include "log/SimpleThread.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

void WakeUpFloor(benchmark::State& state) {
    const auto window = MeasuringWindow(state);
    for (auto _ : state) {
        TSimpleThread tick([] { return true; });
        tick.SetThreadTime(100);
        tick.Start();
        const double processorBefore = ProcessorSeconds(getpid());
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(window);
        const double processor = ProcessorSeconds(getpid()) - processorBefore;
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        state.counters["cpu_percent"] = 100 * processor / elapsed;
    }
}

BENCHMARK(WakeUpFloor)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
