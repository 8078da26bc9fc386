#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

// How long a benchmark that watches a program measures: its argument, in seconds, unless the
// environment variable VORLIX_BENCH_SECONDS asks for another length (a quick run, say).
inline std::chrono::seconds MeasuringWindow(const benchmark::State& state) {
    if (const char* seconds = std::getenv("VORLIX_BENCH_SECONDS")) {
        const long asked = std::strtol(seconds, nullptr, 10);
        if (asked > 0) {
            return std::chrono::seconds(asked);
        }
    }
    return std::chrono::seconds(state.range(0));
}
