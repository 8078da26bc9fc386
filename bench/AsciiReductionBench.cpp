// A fetched JSON body reduced to ASCII before it is parsed: 8 MiB, the largest body accepted.

#include "platform/Encoding.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t BodyBytes = 8 * 1024 * 1024;

// Records as a visitor counter might publish them: mostly ASCII, some Swedish letters.
std::string JsonBody() {
    std::string body = "[";
    for (int record = 0; body.size() < BodyBytes - 100; ++record) {
        body += R"({"plats":"Entré Norra","besökare":)" + std::to_string(record) +
                R"(,"öppet":true,"meddelande":"Välkommen till Vorlix, ha en trevlig dag!"},)";
    }
    body.back() = ']';
    return body;
}

void AsciiReduction(benchmark::State& state) {
    const std::string body = JsonBody();
    for (auto _ : state) {
        benchmark::DoNotOptimize(Utf8ToAsciiBestFit(body));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

BENCHMARK(AsciiReduction)->Unit(benchmark::kMillisecond);

} // namespace
