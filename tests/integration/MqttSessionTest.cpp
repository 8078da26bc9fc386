#include "integration/MqttBridge.h"

#include "MqttProbe.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"
#include "support/LoopbackSocket.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(MqttSessionTest, ABrokerThatNeverAnswersDoesNotDelayTheTicks) {
    ConfigurationDir config;
    config.AddDisplay("Hall", DisplayType_Debug);
    config.Write();
    TRowSendCycle::TRows rows;
    rows.push_back(TextRow("One", 100));
    rows.push_back(TextRow("Two", 100));
    config.WriteRows("Hall", rows);
    mqtttest::TLines log;
    TDisplaySession session(config.Path(), log.Log());
    session.Start();
    session.SetPaused(false);

    // The kernel completes the connection; nobody ever reads or answers.
    std::uint16_t port = 0;
    const int listener = ListenOnLoopback(port, 8);
    TMqttOptions options;
    options.Url = "mqtt://127.0.0.1:" + std::to_string(port);
    options.Broker = ParseMqttUrl(options.Url);
    options.ClientId = "session-test";
    TMqttBridge bridge(options, session);

    // Driven here as RunTicks drives it, so that each tick's work (the bridge's publishing in it, and
    // what the bridge posted) can be timed.
    std::chrono::steady_clock::duration longest{};
    for (const auto until = std::chrono::steady_clock::now() + 2s;
         std::chrono::steady_clock::now() < until;) {
        const auto start = std::chrono::steady_clock::now();
        session.CollectTick();
        session.SendTick();
        session.Work().RunPending();
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
        std::this_thread::sleep_until(start + 100ms);
    }
    close(listener);

    EXPECT_LT(longest, 50ms);
    EXPECT_FALSE(bridge.Connected());
    EXPECT_GE(log.Count("Two"), 5U) << log.All();
}

} // namespace
