#include "integration/MqttBridge.h"

#include "MqttProbe.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "rows/DisplaySession.h"
#include "support/ConfigurationDir.h"
#include "support/LoopbackSocket.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

    std::vector<std::chrono::steady_clock::time_point> ticks;
    session.SetOnTicked([&] {
        ticks.push_back(std::chrono::steady_clock::now());
        bridge.PublishChanges();
    });
    std::thread driver([&] { session.RunTicks(); });
    std::this_thread::sleep_for(2s);
    session.Work().RequestStop();
    driver.join();
    close(listener);

    ASSERT_GE(ticks.size(), 15U);
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        EXPECT_LT(ticks[i] - ticks[i - 1], 150ms) << "tick " << i;
    }
    EXPECT_FALSE(bridge.Connected());
    EXPECT_GE(log.Count("Two"), 5U) << log.All();
}

} // namespace
