// The send path: a row's command string from SendConfigString on a connected TCP client until
// the display has every byte of it.

#include "LoopbackDisplays.h"
#include "Samples.h"

#include "clients/DisplayClient.h"
#include "datasources/DisplayBase.h"
#include "rows/ConfigurationRow.h"
#include "rows/RowOptions.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr std::uint16_t DisplayWidth = 128;

std::string TypicalRow() {
    TCBFontSizes showing;
    return TConfigurationRow("Välkommen till Vorlix!", TCBFontSize_Large, 2, TCBColor_None, TCBColor_Red,
                             3000)
        .ToVorlixString(DisplayWidth, showing);
}

bool WaitUntilConnected(const TDisplayClientBase& client) {
    for (auto until = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < until;) {
        if (client.ConnectionCount() > 0) {
            return true;
        }
        std::this_thread::sleep_for(1ms);
    }
    return false;
}

// The display's byte count once nothing more has arrived for a while.
std::size_t SettledByteCount(const TLoopbackDisplays& display) {
    std::size_t count = display.ByteCount(0);
    while (display.WaitFor(
        0, [count](const std::string& received) { return received.size() != count; }, 200ms)) {
        count = display.ByteCount(0);
    }
    return count;
}

void SendPath(benchmark::State& state) {
    TLoopbackDisplays display(1);
    auto client = TDisplayClientBase::CreateClient(
        TDisplayBase("Skylt", "", display.Address(0), DisplayType_Vorlix3Ip), false);
    client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client->ThreadStart();
    if (!WaitUntilConnected(*client)) {
        state.SkipWithError("the client did not connect");
        return;
    }

    // One send first, to learn what one send puts on the wire.
    const std::string row = TypicalRow();
    const std::size_t greeted = SettledByteCount(display);
    client->SendConfigString(row);
    std::size_t expected = SettledByteCount(display);
    const std::string wire = display.Received(0).substr(greeted);
    if (wire.empty()) {
        state.SkipWithError("the first send did not arrive");
        return;
    }

    TSamples sends;
    for (auto _ : state) {
        expected += wire.size();
        const auto start = std::chrono::steady_clock::now();
        const bool sent = client->SendConfigString(row);
        const bool arrived = display.WaitFor(
            0, [expected](const std::string& received) { return received.size() >= expected; }, 5s);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (!sent || !arrived) {
            state.SkipWithError("a send did not arrive");
            return;
        }
        sends.AddIteration(state, elapsed);
    }
    const std::string received = display.Received(0);
    if (received.size() != expected ||
        received.compare(received.size() - wire.size(), wire.size(), wire) != 0) {
        state.SkipWithError("the display received other bytes than were sent");
        return;
    }
    state.counters["median_ms"] = sends.Median();
    state.counters["p99_ms"] = sends.Percentile(0.99);
}

BENCHMARK(SendPath)->Iterations(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
