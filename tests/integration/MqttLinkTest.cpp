#include "integration/MqttLink.h"

#include "MqttProbe.h"
#include "support/LoopbackSocket.h"
#include "support/MosquittoBroker.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using mqtttest::TLines;

TMqttOptions OptionsFor(const std::string& url) {
    TMqttOptions options;
    options.Url = url;
    options.Broker = ParseMqttUrl(url);
    options.ClientId = "link-test";
    return options;
}

class MqttLinkTest : public ::testing::Test {
protected:
    std::unique_ptr<TMqttLink> StartLink(const TMqttOptions& options) {
        return std::make_unique<TMqttLink>(
            options, std::vector<std::string>{"vorlix/sources/+/set"},
            [this](const std::string& topic, std::string payload) { FIncoming.Add(topic + " " + payload); },
            FLog.Log());
    }
    // What a fresh subscriber receives at once: the retained message of `topic`.
    std::string Retained(const std::string& topic, const std::string& expected) const {
        const auto subscriber = FBroker.Subscribe(topic);
        subscriber->WaitForOutput("1 " + topic + " " + expected, 5s);
        return subscriber->Output();
    }

    MosquittoBroker FBroker;
    TLines FLog;
    TLines FIncoming;
};

TEST_F(MqttLinkTest, AnnouncesOnlineWhileConnectedAndOfflineWhenStopped) {
    auto link = StartLink(OptionsFor(FBroker.Url()));
    ASSERT_TRUE(FLog.WaitFor("MQTT: Connected to MQTT broker " + FBroker.Url())) << FLog.All();
    EXPECT_TRUE(link->Connected());
    EXPECT_NE(Retained("vorlix/status", "online").find("1 vorlix/status online"), std::string::npos);
    link.reset();
    EXPECT_NE(Retained("vorlix/status", "offline").find("1 vorlix/status offline"), std::string::npos);
}

TEST_F(MqttLinkTest, CarriesMessagesBothWays) {
    const auto subscriber = FBroker.Subscribe("vorlix/displays/#");
    auto link = StartLink(OptionsFor(FBroker.Url()));
    link->Publish({"vorlix/displays/Hall/state", "early", true});
    EXPECT_TRUE(subscriber->WaitForOutput("vorlix/displays/Hall/state early", 10s)) << subscriber->Output();
    ASSERT_TRUE(FLog.WaitFor("Connected to MQTT broker")) << FLog.All();
    FBroker.Publish("vorlix/sources/Count/set", "42");
    EXPECT_TRUE(FIncoming.WaitFor("vorlix/sources/Count/set 42")) << FIncoming.All();
    // Not subscribed to.
    FBroker.Publish("vorlix/displays/Hall/notify", "x");
    link->Publish({"vorlix/displays/Hall/state", "late", true});
    EXPECT_TRUE(subscriber->WaitForOutput("vorlix/displays/Hall/state late", 10s)) << subscriber->Output();
    EXPECT_EQ(FIncoming.Count("notify"), 0U);
}

TEST_F(MqttLinkTest, SurvivesABrokerRestart) {
    auto link = StartLink(OptionsFor(FBroker.Url()));
    link->Publish({"vorlix/displays/Hall/state", "connected", true});
    ASSERT_TRUE(FLog.WaitFor("Connected to MQTT broker")) << FLog.All();
    Retained("vorlix/displays/Hall/state", "connected");

    FBroker.Restart();
    ASSERT_TRUE(FLog.WaitFor("Connected to MQTT broker", 2, 15s)) << FLog.All();
    EXPECT_EQ(FLog.Count("MQTT broker " + FBroker.Url() + ": "), 1U) << FLog.All();
    // The restarted broker knew nothing retained; the link told it again, and subscribed again.
    EXPECT_NE(
        Retained("vorlix/displays/Hall/state", "connected").find("1 vorlix/displays/Hall/state connected"),
        std::string::npos);
    EXPECT_NE(Retained("vorlix/status", "online").find("1 vorlix/status online"), std::string::npos);
    FBroker.Publish("vorlix/sources/Count/set", "after");
    EXPECT_TRUE(FIncoming.WaitFor("vorlix/sources/Count/set after")) << FIncoming.All();
}

TEST(MqttLinkFailureTest, AWrongPasswordIsLoggedOnce) {
    MosquittoBroker broker({"site", "secret", false});
    TLines log;
    TMqttOptions options = OptionsFor(broker.Url());
    options.User = "site";
    options.Password = "wrong";
    {
        TMqttLink link(options, {}, {}, log.Log());
        // Attempts at 0, 1 and 3 s.
        std::this_thread::sleep_for(3500ms);
        EXPECT_FALSE(link.Connected());
    }
    EXPECT_EQ(log.Count("refused"), 1U) << log.All();
    EXPECT_EQ(log.Count("Connected"), 0U) << log.All();

    options.Password = "secret";
    TMqttLink link(options, {}, {}, log.Log());
    EXPECT_TRUE(log.WaitFor("Connected to MQTT broker")) << log.All();
}

// Through the system's certificate authorities, which OpenSSL takes from SSL_CERT_FILE when set.
TEST(MqttLinkTlsTest, TheBrokersCertificateAndHostAreChecked) {
    MosquittoBroker broker({"", "", true});
    TLines log;
    {
        TMqttLink untrusted(OptionsFor(broker.Url()), {}, {}, log.Log());
        EXPECT_TRUE(log.WaitFor("MQTT broker " + broker.Url() + ": ")) << log.All();
        EXPECT_FALSE(untrusted.Connected());
    }
    setenv("SSL_CERT_FILE", broker.CertificateFile().c_str(), 1);
    {
        // The certificate names 127.0.0.1, not localhost.
        const std::string otherName = "mqtts://localhost:" + std::to_string(broker.Port());
        TMqttLink wrongHost(OptionsFor(otherName), {}, {}, log.Log());
        EXPECT_TRUE(log.WaitFor("MQTT broker " + otherName + ": ")) << log.All();
        EXPECT_FALSE(wrongHost.Connected());
    }
    {
        TMqttLink trusted(OptionsFor(broker.Url()), {}, {}, log.Log());
        EXPECT_TRUE(log.WaitFor("Connected to MQTT broker " + broker.Url())) << log.All();
    }
    unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(log.Count("Connected"), 1U) << log.All();
}

TEST(MqttLinkFailureTest, ABrokerThatNeverAnswersHoldsUpNobody) {
    // The kernel completes the connection; nobody ever reads or answers.
    std::uint16_t port = 0;
    const int listener = ListenOnLoopback(port, 8);
    TLines log;
    const std::string url = "mqtt://127.0.0.1:" + std::to_string(port);
    {
        TMqttLink link(OptionsFor(url), {"vorlix/sources/+/set"}, {}, log.Log());
        const auto before = std::chrono::steady_clock::now();
        for (int i = 0; i < 100; ++i) {
            link.Publish({"vorlix/displays/Hall/state", std::to_string(i), true});
        }
        EXPECT_LT(std::chrono::steady_clock::now() - before, 100ms);
        EXPECT_TRUE(log.WaitFor("The broker does not answer", 1, TMqttLink::AnswerWait + 2s)) << log.All();
        EXPECT_FALSE(link.Connected());
    }
    close(listener);
}

TEST(MqttLinkFailureTest, StoppingWhileTheBrokerIsSilentIsPrompt) {
    std::uint16_t port = 0;
    const int listener = ListenOnLoopback(port, 8);
    auto link = std::make_unique<TMqttLink>(OptionsFor("mqtt://127.0.0.1:" + std::to_string(port)),
                                            std::vector<std::string>{}, nullptr, nullptr);
    std::this_thread::sleep_for(200ms);
    const auto before = std::chrono::steady_clock::now();
    link.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    close(listener);
}

} // namespace
