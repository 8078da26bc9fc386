// The HTTP API of a running session on loopback: how soon a pushed value reaches the display
// that shows it, and how many display reports it answers while the ticks go on.

#include "LoopbackDisplays.h"
#include "Samples.h"

#include "support/ConfigurationDir.h"
#include "support/HttpClient.h"
#include "support/RunningSession.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// A session whose displays are the loopback displays, each showing the REST source "Counter" in
// one still row of 60 s, or two rows of 100 ms when `rotating`.
std::unique_ptr<TRunningSession> StartSession(ConfigurationDir& config, const TLoopbackDisplays& displays,
                                              bool rotating) {
    config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
    for (std::size_t i = 0; i < displays.Count(); ++i) {
        const std::string name = "Skylt " + std::to_string(i);
        config.AddDisplay(name, DisplayType_Vorlix3Ip, displays.Address(i));
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Counter", rotating ? 100 : 60000));
        rows.back()->TextIsParameter = true;
        if (rotating) {
            rows.push_back(TextRow("Welcome", 100));
        }
        config.WriteRows(name, rows);
    }
    config.Write();
    return std::make_unique<TRunningSession>(config);
}

bool Shows(const TLoopbackDisplays& displays, std::size_t display, const std::string& text,
           std::size_t after) {
    return displays.WaitFor(
        display,
        [&](const std::string& received) {
            return received.size() > after && received.find(text, after) != std::string::npos;
        },
        5s);
}

void PushToPixels(benchmark::State& state) {
    TLoopbackDisplays displays(1);
    ConfigurationDir config;
    const auto running = StartSession(config, displays, false);
    if (!Shows(displays, 0, "-t\"", 0)) {
        state.SkipWithError("the display did not get its row");
        return;
    }
    THttpClient client;
    const std::string url = running->Url("/api/v1/sources/Counter");
    TSamples pushes;
    int value = 0;
    for (auto _ : state) {
        const std::string text = "v" + std::to_string(++value);
        const std::size_t before = displays.ByteCount(0);
        const auto start = std::chrono::steady_clock::now();
        const long status = client.Send("PUT", url, R"({"value": ")" + text + R"("})").Status;
        const bool arrived = Shows(displays, 0, "-t\"" + text + "\r\n", before);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (status != 200 || !arrived) {
            state.SkipWithError("a pushed value did not reach the display");
            return;
        }
        pushes.AddIteration(state, elapsed);
    }
    state.counters["median_ms"] = pushes.Median();
    state.counters["p99_ms"] = pushes.Percentile(0.99);
}

BENCHMARK(PushToPixels)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

constexpr std::size_t ReportDisplays = 10;
constexpr int ReportClients = 4;
constexpr auto ReportTime = 3s;

void DisplayReports(benchmark::State& state) {
    TLoopbackDisplays displays(ReportDisplays);
    ConfigurationDir config;
    const auto running = StartSession(config, displays, true);
    for (std::size_t i = 0; i < ReportDisplays; ++i) {
        if (!Shows(displays, i, "Welcome", 0)) {
            state.SkipWithError("a display did not get its rows");
            return;
        }
    }
    const std::string url = running->Url("/api/v1/displays");
    for (auto _ : state) {
        std::vector<std::size_t> before;
        for (std::size_t i = 0; i < ReportDisplays; ++i) {
            before.push_back(displays.ByteCount(i));
        }
        std::atomic<long> answered{0};
        std::atomic<bool> failed{false};
        const auto end = std::chrono::steady_clock::now() + ReportTime;
        std::vector<std::thread> clients;
        for (int c = 0; c < ReportClients; ++c) {
            clients.emplace_back([&] {
                THttpClient client;
                while (std::chrono::steady_clock::now() < end) {
                    if (client.Send("GET", url).Status != 200) {
                        failed = true;
                    }
                    ++answered;
                }
            });
        }
        for (std::thread& client : clients) {
            client.join();
        }
        // Two rows of 100 ms take turns every 200 ms: 5 rows a second while the ticks keep up.
        std::size_t fewest = std::numeric_limits<std::size_t>::max();
        for (std::size_t i = 0; i < ReportDisplays; ++i) {
            const std::string received = displays.Received(i).substr(before[i]);
            std::size_t rows = 0;
            for (std::size_t at = received.find("-t\""); at != std::string::npos;
                 at = received.find("-t\"", at + 1)) {
                ++rows;
            }
            fewest = std::min(fewest, rows);
        }
        if (failed) {
            state.SkipWithError("a report failed");
            return;
        }
        state.counters["requests_per_second"] =
            static_cast<double>(answered) / std::chrono::duration<double>(ReportTime).count();
        state.counters["fewest_rows_per_second"] =
            static_cast<double>(fewest) / std::chrono::duration<double>(ReportTime).count();
    }
}

BENCHMARK(DisplayReports)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
