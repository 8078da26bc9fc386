#include "MqttRunningSession.h"

#include "clients/LoopbackDisplay.h"
#include "config/ConfigurationFiles.h"
#include "datasources/DisplayDataSourceType.h"
#include "datasources/DisplayType.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using clienttest::TLoopbackDisplay;
using mqtttest::TBridgedSession;

// What a 64-pixel display receives for a row in the large area, red on nothing. A source's value
// arrives with the line break after each of its lines.
std::string RowBytes(const std::string& text) {
    return "-sc0 -sg0,0,64,16 -f1 -cb0 -cf1 -sad0 -nss0 -t\"" + text + "\"  \r\n";
}

const std::string Greeting = "-dac\r\n-v\r\n-i50\r\n";

class MqttBridgeTest : public ::testing::Test {
protected:
    MqttBridgeTest() {
        config.AddSource("Counter", DisplayDataSourceType_REST, 0, "");
        config.AddSource("Menu", DisplayDataSourceType_Static, 0, "Soup").SetPublicChangeable(true);
        config.AddSource("Secret", DisplayDataSourceType_Static, 0, "1234");
        config.AddSource("a/b", DisplayDataSourceType_REST, 0, "");
        config.AddSource("a+b", DisplayDataSourceType_Static, 0, "x").SetPublicChangeable(true);
        config.AddDisplay("Hall", DisplayType_Vorlix3Ip, hall.Address());
        config.Write();
        TRowSendCycle::TRows rows;
        rows.push_back(TextRow("Counter", 60000));
        rows.back()->TextIsParameter = true;
        config.WriteRows("Hall", rows);
    }

    void Start(bool publishAll = false) {
        running = std::make_unique<TBridgedSession>(config, broker, publishAll);
        ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes(""))) << hall.Received(0);
    }

    TLoopbackDisplay hall{"VSIM 1.0"};
    MosquittoBroker broker;
    ConfigurationDir config;
    std::unique_ptr<TBridgedSession> running;
};

TEST_F(MqttBridgeTest, APublishedValueReachesTheDisplayAsBytes) {
    Start();
    broker.Publish("vorlix/sources/Counter/set", "42");
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("42\r\n"))) << hall.Received(0);
    broker.Publish("vorlix/sources/Counter/set", R"({"lines": ["7", "8"]})");
    EXPECT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("42\r\n") + RowBytes("7\r\n8\r\n")))
        << hall.Received(0);
    broker.Publish("vorlix/sources/Menu/set", "Fish\nChips");
    EXPECT_TRUE(clienttest::WaitUntil(
        [&] { return config.Dir().Read("local-datasources.json").find("Fish") != std::string::npos; }));
}

TEST_F(MqttBridgeTest, ANotificationInterruptsTheRotation) {
    Start();
    broker.Publish("vorlix/displays/Hall/notify", R"({"text": "Fire drill", "ms": 300})");
    EXPECT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("Fire drill") + RowBytes("")))
        << hall.Received(0);
}

TEST_F(MqttBridgeTest, RejectedMessagesAreLoggedOnceAndReported) {
    Start();
    const auto errors = broker.Subscribe("vorlix/errors");
    const std::pair<std::string, std::string> cases[] = {
        {"vorlix/sources/Nix/set", "There is no source \"Nix\""},
        {"vorlix/sources/Secret/set", "The source \"Secret\" takes no value from outside"},
        {"vorlix/sources/Counter/set", "The request is not a JSON object"},
        {"vorlix/sources/a_b/set", "The name \"a_b\" in the topic fits more than one source"},
        {"vorlix/displays/Nix/notify", "There is no display \"Nix\""},
        {"vorlix/displays/Hall/notify", "The request needs \"text\""},
        {"vorlix/sources/Counter/set", "The message is larger than 64 KiB"},
    };
    const std::string payloads[] = {
        "1", "1", "{\"lines\": ", "1", R"({"text": "x"})", "{}", std::string(65537, 'x')};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        broker.Publish(cases[i].first, payloads[i]);
        const std::string line = "Rejected the message on " + cases[i].first + ": " + cases[i].second;
        EXPECT_TRUE(running->Log().WaitFor(line)) << running->Log().All();
        EXPECT_TRUE(errors->WaitForOutput(R"({"topic":")" + cases[i].first + R"(","error":")", 5s));
    }
    errors->DrainOutput(300ms);
    EXPECT_EQ(running->Log().Count("Rejected"), std::size(cases)) << running->Log().All();
    // Nothing reached the display.
    EXPECT_EQ(hall.Received(0), Greeting + RowBytes(""));
}

TEST_F(MqttBridgeTest, StatesAndPublicValuesAreRetainedAndFollowTheDisplay) {
    Start();
    broker.Publish("vorlix/sources/Counter/set", "5");
    ASSERT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("5\r\n")));
    const auto states = broker.Subscribe("vorlix/displays/Hall/state");
    EXPECT_TRUE(states->WaitForOutput(R"(1 vorlix/displays/Hall/state {"name":"Hall","kind":4)", 5s));
    EXPECT_TRUE(states->WaitForOutput(R"("connected":true)", 5s)) << states->Output();
    const auto values = broker.Subscribe("vorlix/sources/+/value");
    EXPECT_TRUE(values->WaitForOutput("1 vorlix/sources/Menu/value {\"lines\":[\"Soup\"],\"changed\":", 5s))
        << values->Output();
    EXPECT_TRUE(values->WaitForOutput(" vorlix/sources/Counter/value {\"lines\":[\"5\"],\"changed\":\"", 5s))
        << values->Output();

    // The display drops the connection; the client connects again and the cycle restores the row.
    EXPECT_TRUE(states->WaitForOutput(R"("connections":1})", 5s)) << states->Output();
    hall.Drop(0);
    EXPECT_TRUE(states->WaitForOutput(R"("connected":false)", 10s)) << states->Output();
    EXPECT_TRUE(states->WaitForOutput(R"("connections":2})", 10s)) << states->Output();
    EXPECT_TRUE(hall.WaitReceived(1, Greeting + RowBytes("5\r\n"))) << hall.Received(1);
    values->DrainOutput(300ms);
    EXPECT_EQ(values->Output().find("Secret"), std::string::npos) << values->Output();
    // "a/b" and "a+b" share a topic, which the first keeps.
    const std::string output = values->Output();
    EXPECT_EQ(output.find(" vorlix/sources/a_b/value {"), output.rfind(" vorlix/sources/a_b/value {"))
        << output;
}

TEST_F(MqttBridgeTest, EverySourceIsPublishedWhenAskedTo) {
    Start(true);
    const auto values = broker.Subscribe("vorlix/sources/Secret/value");
    EXPECT_TRUE(values->WaitForOutput("1 vorlix/sources/Secret/value {\"lines\":[\"1234\"]", 5s))
        << values->Output();
}

TEST_F(MqttBridgeTest, TheRetainedStateOfADisplayRemovedGoesWithIt) {
    Start();
    const auto states = broker.Subscribe("vorlix/displays/+/state");
    ASSERT_TRUE(states->WaitForOutput(R"(1 vorlix/displays/Hall/state {"name":"Hall")", 5s))
        << states->Output();
    WriteListFile(DisplaysFilePath(config.Path()), TBaseObjectList<TVDisplay>());
    running->Reload();
    EXPECT_TRUE(states->WaitForOutput("0 vorlix/displays/Hall/state \n", 5s)) << states->Output();
    const auto later = broker.Subscribe("vorlix/displays/+/state");
    later->DrainOutput(300ms);
    EXPECT_EQ(later->Output().find("Hall/state"), std::string::npos) << later->Output();
}

TEST_F(MqttBridgeTest, ABrokerRestartIsSurvived) {
    Start();
    broker.Restart();
    EXPECT_TRUE(running->Log().WaitFor("Connected to MQTT broker", 2, 15s)) << running->Log().All();
    const auto states = broker.Subscribe("vorlix/displays/Hall/state");
    EXPECT_TRUE(states->WaitForOutput(R"(1 vorlix/displays/Hall/state {"name":"Hall")", 5s))
        << states->Output();
    broker.Publish("vorlix/sources/Counter/set", "after");
    EXPECT_TRUE(hall.WaitReceived(0, Greeting + RowBytes("") + RowBytes("after\r\n"))) << hall.Received(0);
}

} // namespace
