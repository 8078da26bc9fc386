// Publish to pixels through a broker: from handing a new value of a REST source to a publisher on
// the broker until the display has the row with that value, 1000 times. The row shows the source
// and does not scroll, so each value is sent to the display as soon as it is set.

#include "LoopbackDisplays.h"
#include "Samples.h"

#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "integration/MqttBridge.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"
#include "support/MosquittoBroker.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// The end of what a 64-pixel display receives for the row with `value`.
std::string RowEnd(const std::string& value) {
    return "-t\"" + value + "\r\n\"  \r\n";
}

// mosquitto_pub publishing each line written to it as one message, at QoS 1.
class TLinePublisher {
public:
    TLinePublisher(const MosquittoBroker& broker, const std::string& topic)
        : FPipe(popen(("/usr/bin/mosquitto_pub -h 127.0.0.1 -p " + std::to_string(broker.Port()) +
                       " -q 1 -l -t " + topic)
                          .c_str(),
                      "w")) {}
    ~TLinePublisher() {
        if (FPipe != nullptr) {
            pclose(FPipe);
        }
    }
    TLinePublisher(const TLinePublisher&) = delete;
    TLinePublisher& operator=(const TLinePublisher&) = delete;

    bool Publish(const std::string& line) {
        return FPipe != nullptr && std::fputs((line + "\n").c_str(), FPipe) >= 0 && std::fflush(FPipe) == 0;
    }

private:
    FILE* FPipe;
};

void MqttPublishToPixels(benchmark::State& state) {
    MosquittoBroker broker;
    TLoopbackDisplays display(1);
    ConfigurationDir config;
    config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
    config.AddDisplay("Hall", DisplayType_Vorlix3Ip, display.Address(0));
    config.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("Counter", 600000));
    rows.back()->TextIsParameter = true;
    config.WriteRows("Hall", rows);

    TDisplaySession session(config.Path(), {});
    session.Start();
    session.SetConnected(true);
    session.SetPaused(false);
    TMqttOptions options;
    options.Url = broker.Url();
    options.Broker = ParseMqttUrl(options.Url);
    options.ClientId = "bench";
    auto bridge = std::make_unique<TMqttBridge>(options, session);
    std::thread driver([&session] { session.RunTicks(); });
    TLinePublisher publisher(broker, "vorlix/sources/Counter/set");

    // The first value also tells that the display, the bridge and the publisher are all up.
    const bool ready =
        publisher.Publish("ready") &&
        display.WaitFor(
            0, [](const std::string& received) { return received.ends_with(RowEnd("ready")); }, 20s);
    TSamples publishes;
    int count = 0;
    for (auto _ : state) {
        if (!ready) {
            state.SkipWithError("the display did not show the first value");
            break;
        }
        const std::string value = "v" + std::to_string(++count);
        const auto start = std::chrono::steady_clock::now();
        const bool arrived =
            publisher.Publish(value) &&
            display.WaitFor(
                0, [&value](const std::string& received) { return received.ends_with(RowEnd(value)); }, 5s);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (!arrived) {
            state.SkipWithError("a published value did not reach the display");
            break;
        }
        publishes.AddIteration(state, elapsed);
    }
    session.Work().RequestStop();
    driver.join();
    bridge.reset();
    if (count > 0) {
        state.counters["median_ms"] = publishes.Median();
        state.counters["p99_ms"] = publishes.Percentile(0.99);
    }
}

BENCHMARK(MqttPublishToPixels)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
