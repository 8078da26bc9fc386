#include "integration/MqttBridge.h"

#include "MqttProbe.h"
#include "config/JsonText.h"
#include "support/MosquittoBroker.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;
using json = nlohmann::ordered_json;
using mqtttest::TLines;

// A session as far as the bridge sees it: documents the test sets, and the requests it got.
class FakeSession {
public:
    TMqttSessionPort Port() {
        TMqttSessionPort port;
        port.SetSource = [this](const std::string& name, const std::string& payload) {
            return Request("set " + name + " " + payload);
        };
        port.Notify = [this](const std::string& name, const std::string& body) {
            return Request("notify " + name + " " + body);
        };
        port.Displays = [this] { return Displays; };
        port.Sources = [this] { return Sources; };
        return port;
    }

    json Displays = json::array();
    json Sources = json::array();
    std::string Refusal;
    std::vector<std::string> Requests;
    std::thread::id RequestThread;

private:
    std::string Request(const std::string& request) {
        Requests.push_back(request);
        RequestThread = std::this_thread::get_id();
        return Refusal;
    }
};

class MqttBridgeTest : public ::testing::Test {
protected:
    std::unique_ptr<TMqttBridge> StartBridge(bool publishAll = false) {
        TMqttOptions options;
        options.Url = FBroker.Url();
        options.Broker = ParseMqttUrl(options.Url);
        options.ClientId = "bridge-test";
        options.PublishAll = publishAll;
        auto bridge = std::make_unique<TMqttBridge>(options, FWork, FSession.Port(), FLog.Log());
        EXPECT_TRUE(FLog.WaitFor("Connected to MQTT broker")) << FLog.All();
        return bridge;
    }
    // Drives the bridge as the session's driver would, until `done` or 10 s.
    bool DriveUntil(TMqttBridge& bridge, const std::function<bool()>& done) {
        for (const auto until = std::chrono::steady_clock::now() + 10s;
             std::chrono::steady_clock::now() < until;) {
            FWork.WaitUntil(std::chrono::steady_clock::now() + 10ms);
            FWork.RunPending();
            bridge.PublishChanges();
            if (done()) {
                return true;
            }
        }
        return false;
    }

    MosquittoBroker FBroker;
    TWorkQueue FWork;
    FakeSession FSession;
    TLines FLog;
};

TEST_F(MqttBridgeTest, RequestsReachTheSessionOnItsOwnThread) {
    FSession.Sources = json::array({{{"name", "Door/1"}}});
    FSession.Displays = json::array({{{"name", "Hall #2"}}});
    const auto bridge = StartBridge();
    FBroker.Publish("vorlix/sources/Door_1/set", "12\n13");
    FBroker.Publish("vorlix/displays/Hall _2/notify", R"({"text": "Hi"})");
    ASSERT_TRUE(DriveUntil(*bridge, [&] { return FSession.Requests.size() == 2; }));
    EXPECT_EQ(FSession.Requests,
              (std::vector<std::string>{"set Door/1 12\n13", R"(notify Hall #2 {"text": "Hi"})"}));
    EXPECT_EQ(FSession.RequestThread, std::this_thread::get_id());
}

TEST_F(MqttBridgeTest, RejectedMessagesAreLoggedOnceAndReported) {
    FSession.Sources = json::array({{{"name", "a/b"}}, {{"name", "a+b"}}});
    const auto bridge = StartBridge();
    const auto errors = FBroker.Subscribe("vorlix/errors");

    FSession.Refusal = "There is no source \"Nix\"";
    FBroker.Publish("vorlix/sources/Nix/set", "1");
    ASSERT_TRUE(DriveUntil(*bridge, [&] { return FLog.Count("Rejected") == 1; })) << FLog.All();
    EXPECT_EQ(FLog.Count("Rejected the message on vorlix/sources/Nix/set: There is no source \"Nix\""), 1U)
        << FLog.All();
    EXPECT_TRUE(errors->WaitForOutput(
        R"(0 vorlix/errors {"topic":"vorlix/sources/Nix/set","error":"There is no source \"Nix\""})", 5s))
        << errors->Output();

    FBroker.Publish("vorlix/sources/a_b/set", "1");
    FBroker.Publish("vorlix/sources/Big/set", std::string(TMqttBridge::MaxPayloadBytes + 1, 'x'));
    ASSERT_TRUE(DriveUntil(*bridge, [&] { return FLog.Count("Rejected") == 3; })) << FLog.All();
    EXPECT_EQ(
        FLog.Count("on vorlix/sources/a_b/set: The name \"a_b\" in the topic fits more than one source"), 1U)
        << FLog.All();
    EXPECT_EQ(FLog.Count("on vorlix/sources/Big/set: The message is larger than 64 KiB"), 1U) << FLog.All();
    EXPECT_EQ(FSession.Requests, std::vector<std::string>{"set Nix 1"});
    EXPECT_TRUE(errors->WaitForOutput("The message is larger than 64 KiB", 5s)) << errors->Output();
}

TEST_F(MqttBridgeTest, StatesAndPublicValuesArePublishedRetainedWhenTheyChange) {
    FSession.Displays = json::array({{{"name", "Hall"}, {"connected", true}}});
    const json value = {{"lines", {"1"}}, {"changed", "2026-12-09T12:00:00"}};
    FSession.Sources = json::array({
        {{"name", "Pushed"},
         {"kind", 3},
         {"public", false},
         {"lines", {"1"}},
         {"changed", "2026-12-09T12:00:00"}},
        {{"name", "Mine"},
         {"kind", 1},
         {"public", true},
         {"lines", {"1"}},
         {"changed", "2026-12-09T12:00:00"}},
        {{"name", "Secret"}, {"kind", 1}, {"public", false}, {"lines", {"s"}}, {"changed", nullptr}},
    });
    auto bridge = StartBridge();
    const auto all = FBroker.Subscribe("vorlix/+/+/+");
    bridge->PublishChanges();
    EXPECT_TRUE(all->WaitForOutput("vorlix/sources/Mine/value", 5s)) << all->Output();
    EXPECT_TRUE(all->WaitForOutput(R"(vorlix/displays/Hall/state {"name":"Hall","connected":true})", 5s));
    EXPECT_TRUE(all->WaitForOutput("vorlix/sources/Pushed/value " + JsonText(value), 5s)) << all->Output();

    FSession.Displays[0]["connected"] = false;
    for (int tick = 0; tick < 5; ++tick) {
        bridge->PublishChanges();
    }
    EXPECT_TRUE(all->WaitForOutput(R"(vorlix/displays/Hall/state {"name":"Hall","connected":false})", 5s));
    all->DrainOutput(300ms);
    EXPECT_EQ(all->Output().find("Secret/value"), std::string::npos) << all->Output();
    // Unchanged documents go once.
    const std::string output = all->Output();
    EXPECT_EQ(output.find(" vorlix/sources/Pushed/value {"), output.rfind(" vorlix/sources/Pushed/value {"))
        << output;

    // Retained: a subscriber that comes later gets them too.
    const auto later = FBroker.Subscribe("vorlix/displays/Hall/state");
    EXPECT_TRUE(later->WaitForOutput(R"(1 vorlix/displays/Hall/state {"name":"Hall","connected":false})", 5s))
        << later->Output();

    bridge.reset();
    bridge = StartBridge(true);
    bridge->PublishChanges();
    const auto secret = FBroker.Subscribe("vorlix/sources/Secret/value");
    EXPECT_TRUE(secret->WaitForOutput(R"(1 vorlix/sources/Secret/value {"lines":["s"],"changed":null})", 5s))
        << secret->Output();
}

} // namespace
