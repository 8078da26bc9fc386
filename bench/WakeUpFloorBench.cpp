// What waking up costs on this machine: the polling threads of an idle vorlix-headless with
// ten displays (ten workers pausing 50 ms, a main loop pausing 100 ms) doing no work at all.
// The idle figure of vorlix-headless less this floor is the program's own work.

#include "ProcessorTime.h"

#include "log/SimpleThread.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

void WakeUpFloor(benchmark::State& state) {
    const auto window = std::chrono::seconds(state.range(0));
    for (auto _ : state) {
        std::vector<std::unique_ptr<TSimpleThread>> threads;
        for (int worker = 0; worker < 10; ++worker) {
            threads.push_back(std::make_unique<TSimpleThread>([] { return true; }));
        }
        threads.push_back(std::make_unique<TSimpleThread>([] { return true; }));
        threads.back()->SetThreadTime(100);
        for (const auto& thread : threads) {
            thread->Start();
        }
        const double processorBefore = ProcessorSeconds(getpid());
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(window);
        const double processor = ProcessorSeconds(getpid()) - processorBefore;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        state.counters["cpu_percent"] = 100 * processor / elapsed;
    }
}

BENCHMARK(WakeUpFloor)->Arg(10)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace
