// The MQTT bridge of the real program: a value published to the broker reaches the display, the
// program's status is retained, and the broker says "offline" for it when it is killed.

#include "clients/LoopbackDisplay.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"
#include "support/ChildProcess.h"
#include "support/ConfigurationDir.h"
#include "support/MosquittoBroker.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

using namespace std::chrono_literals;

class HeadlessMqttTest : public ::testing::Test {
protected:
    HeadlessMqttTest() {
        config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
        config.AddDisplay("Hall", DisplayType_Vorlix3Ip, display.Address());
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Counter", 60000));
        rows.back()->TextIsParameter = true;
        config.WriteRows("Hall", rows);
    }

    std::unique_ptr<ChildProcess> Start() {
        auto headless = std::make_unique<ChildProcess>(std::vector<std::string>{
            VORLIX_HEADLESS_PROGRAM, config.Path(), "--mqtt", broker.Url(), "--mqtt-prefix", "site/a"});
        EXPECT_TRUE(headless->WaitForOutput("MQTT :Connected to MQTT broker " + broker.Url(), 15s))
            << headless->Output();
        return headless;
    }
    bool StatusIs(const std::string& status) const {
        const auto subscriber = broker.Subscribe("site/a/status");
        return subscriber->WaitForOutput("1 site/a/status " + status + "\n", 5s);
    }

    clienttest::TLoopbackDisplay display{"VSIM 1.0"};
    MosquittoBroker broker;
    ConfigurationDir config;
};

TEST_F(HeadlessMqttTest, TakesValuesAndLeavesItsLastWillWhenKilled) {
    const auto headless = Start();
    EXPECT_TRUE(StatusIs("online"));
    broker.Publish("site/a/sources/Counter/set", "42");
    EXPECT_TRUE(clienttest::WaitUntil([&] { return display.Received(0).ends_with("-t\"42\r\n\"  \r\n"); }))
        << display.Received(0);
    const auto displays = broker.Subscribe("site/a/displays/Hall/state");
    EXPECT_TRUE(displays->WaitForOutput(R"(1 site/a/displays/Hall/state {"name":"Hall")", 5s))
        << displays->Output();

    headless->Signal(SIGKILL);
    headless->WaitForExit(5s);
    EXPECT_TRUE(StatusIs("offline"));
}

TEST_F(HeadlessMqttTest, SaysOfflineWhenStopped) {
    const auto headless = Start();
    EXPECT_TRUE(StatusIs("online"));
    headless->Signal(SIGTERM);
    EXPECT_EQ(headless->WaitForExit(5s), 0) << headless->Output();
    EXPECT_TRUE(StatusIs("offline"));
}

TEST(HeadlessMqttOptionsTest, ABadBrokerUrlIsAWrongCommandLine) {
    ConfigurationDir config;
    config.Write();
    ChildProcess headless({VORLIX_HEADLESS_PROGRAM, config.Path(), "--mqtt", "http://broker"});
    EXPECT_EQ(headless.WaitForExit(10s), 2);
    EXPECT_NE(headless.Output().find("Invalid MQTT broker URL \"http://broker\""), std::string::npos)
        << headless.Output();
}

} // namespace
