#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <vector>

// Durations measured one at a time, in milliseconds, and their order statistics.
class TSamples {
public:
    void Add(std::chrono::steady_clock::duration elapsed) {
        FMilliseconds.push_back(std::chrono::duration<double, std::milli>(elapsed).count());
    }
    // Adds `elapsed` as the time of the benchmark's current iteration too.
    void AddIteration(benchmark::State& state, std::chrono::steady_clock::duration elapsed) {
        state.SetIterationTime(std::chrono::duration<double>(elapsed).count());
        Add(elapsed);
    }

    // The smallest sample that at least `fraction` of all samples do not exceed (nearest rank).
    double Percentile(double fraction) const {
        std::vector<double> sorted = FMilliseconds;
        std::sort(sorted.begin(), sorted.end());
        const auto rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(sorted.size())));
        return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
    }
    bool Empty() const { return FMilliseconds.empty(); }
    double Median() const { return Percentile(0.5); }
    double Worst() const { return Percentile(1.0); }

private:
    std::vector<double> FMilliseconds;
};
