#include "clients/DisplayClientVorlixTCPIP.h"

#include "ClientTestSupport.h"
#include "LoopbackDisplay.h"
#include "datasources/DisplayBase.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using clienttest::TExactSource;
using clienttest::TLogRecorder;
using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;

const std::string Greeting = "-dac\r\n-v\r\n";

std::unique_ptr<TDisplayClientVorlixTCPIP> StartedClient(const std::string& settings, TLogRecorder& log,
                                                         TTcpConnectionFactory connect = ConnectTcp) {
    auto client = std::make_unique<TDisplayClientVorlixTCPIP>(
        TDisplayBase("Hall", "", settings, DisplayType_Vorlix3Ip), false, std::move(connect));
    client->SetOnLogMessage(log.Handler());
    client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client->ThreadStart();
    return client;
}

TEST(DisplayClientVorlixTCPIP, GreetsTheDisplayAndReadsItsVersion) {
    TLoopbackDisplay display("VX 2.0");
    TLogRecorder log;
    const auto client = StartedClient(display.Address(), log);
    EXPECT_TRUE(display.WaitReceived(0, Greeting));
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
    EXPECT_EQ(client->SoftwareVersion(), "VX 2.0");
    EXPECT_EQ(log.Messages().front(),
              FormatLogText(LogType_Info, "Create Vorlix3 Hall on port " + display.Address() +
                                              ", subscribes on 0 variables"));
}

TEST(DisplayClientVorlixTCPIP, PushedPiecesGoOutAsLinesInOneBytePerCharacter) {
    TLoopbackDisplay display;
    TLogRecorder log;
    const auto client = StartedClient(display.Address(), log);
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
    client->UpdateVariables(TExactSource("Temp", "21"));
    const struct {
        const char* configstring;
        const char* expected;
    } cases[] = {
        {"A|B", "A\r\nB\r\n"},
        {"A||B", "A\r\n\r\nB\r\n"},
        {"|", "\r\n\r\n"},
        {"-sc0 -t\"[Temp] [Gone]\"", "-sc0 -t\"21 \"\r\n"},
        {"caf\xC3\xA9 \xC4\x80\xE2\x82\xAC", "caf\xE9 ??\r\n"},
    };
    std::string expected = Greeting;
    for (const auto& c : cases) {
        EXPECT_TRUE(client->SendConfigString(c.configstring)) << c.configstring;
        expected += c.expected;
        EXPECT_TRUE(display.WaitReceived(0, expected)) << c.configstring;
    }
    EXPECT_EQ(display.Received(0), expected);
}

TEST(DisplayClientVorlixTCPIP, RefusesPushesOutsidePushModeWithAnError) {
    TLoopbackDisplay display;
    TLogRecorder log;
    const auto client = StartedClient(display.Address(), log);
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
    client->SetClientMode(TDisplayClientBase::ClientMode_Automatic);
    EXPECT_FALSE(client->SendConfigString("A"));
    EXPECT_EQ(log.Count(FormatLogText(LogType_Error, "Client is not in pushmode")), 1u);
}

// A connection that is lost, or one to new settings, greets the display again, which clears it.
// One the user suspended and started again is reopened without a greeting: the display keeps
// what it shows.
TEST(DisplayClientVorlixTCPIP, OnlyAConnectionClosedByASuspendIsReopenedWithoutAGreeting) {
    enum class TEnd { DisplayDrops, Suspend, SuspendAndNewSettings };
    const struct {
        TEnd end;
        bool greets;
    } cases[] = {{TEnd::DisplayDrops, true}, {TEnd::Suspend, false}, {TEnd::SuspendAndNewSettings, true}};
    for (const auto& c : cases) {
        const int name = static_cast<int>(c.end);
        TLoopbackDisplay display("VX 2.0");
        TLogRecorder log;
        const auto client = StartedClient(display.Address(), log);
        ASSERT_TRUE(display.WaitReceived(0, Greeting));
        ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
        if (c.end == TEnd::DisplayDrops) {
            display.Drop(0);
        } else {
            client->ThreadSuspend();
            EXPECT_TRUE(display.WaitClosedByClient(0));
            EXPECT_FALSE(client->SendConfigString("A"));
            if (c.end == TEnd::SuspendAndNewSettings) {
                EXPECT_TRUE(client->SetDisplayConfig(display.Address()));
            }
            client->ThreadStart();
        }
        ASSERT_TRUE(WaitUntil([&] { return client->SendConfigString("B"); })) << name;
        const std::string expected = (c.greets ? Greeting : "") + "B\r\n";
        EXPECT_TRUE(display.WaitReceived(1, expected)) << name << ": " << display.Received(1);
        EXPECT_EQ(client->ConnectionCount(), c.greets ? 2u : 1u) << name;
        EXPECT_EQ(client->SoftwareVersion(), "VX 2.0") << name;
        EXPECT_EQ(display.Connections(), 2u);
    }
}

TEST(DisplayClientVorlixTCPIP, SettingsTextIsAnAddressAndAPort) {
    const struct {
        const char* settings;
        const char* host;
        std::uint16_t port;
        const char* warning; // nullptr: none
    } cases[] = {
        {"10.1.2.3:4000", "10.1.2.3", 4000, nullptr},
        {"display.local:3027", "display.local", 3027, nullptr},
        {"10.1.2.3", "10.1.2.3", 3027,
         "Configured address is not including port. using 3027 as default port"},
        {"10.1.2.3:x", "10.1.2.3", 3027, "x is not a valid portnumber. using default port 3027"},
        {"10.1.2.3:70000", "10.1.2.3", 3027, "70000 is not a valid portnumber. using default port 3027"},
    };
    for (const auto& c : cases) {
        std::mutex lock;
        std::string host;
        std::uint16_t port = 0;
        const auto record = [&](const std::string& h, std::uint16_t p,
                                const TAbandonCheck&) -> std::unique_ptr<TDisplayConnection> {
            std::lock_guard guard(lock);
            host = h;
            port = p;
            throw EVorlixError("refused");
        };
        TLogRecorder log;
        auto client = std::make_unique<TDisplayClientVorlixTCPIP>(
            TDisplayBase("Hall", "", "192.168.0.9:5000", DisplayType_Vorlix3Ip), false, record);
        client->SetOnLogMessage(log.Handler());
        client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);

        EXPECT_TRUE(client->SetDisplayConfig(c.settings)) << c.settings;
        EXPECT_EQ(client->BaseConfiguration(), c.settings);
        if (c.warning) {
            EXPECT_EQ(log.Count(FormatLogText(LogType_Warning, c.warning)), 1u) << c.settings;
        }
        client->ThreadStart();
        EXPECT_TRUE(WaitUntil([&] {
            std::lock_guard guard(lock);
            return host == c.host && port == c.port;
        })) << c.settings;
    }
}

// Settings without an address name no display: the client logs why once and tries nothing, not
// even the local machine, until it is given settings it can use.
TEST(DisplayClientVorlixTCPIP, RejectedSettingsConnectNowhereUntilTheyAreChanged) {
    const std::string rejected[] = {"", ":3027", "::1", "fe80::1:3027"};
    struct TAttempts {
        std::mutex Lock;
        std::vector<std::string> Hosts;
    };
    std::vector<std::unique_ptr<TAttempts>> attempts;
    std::vector<std::unique_ptr<TDisplayClientVorlixTCPIP>> clients;
    TLogRecorder log;
    for (const std::string& settings : rejected) {
        for (const bool fromStart : {true, false}) {
            auto& tried = *attempts.emplace_back(std::make_unique<TAttempts>());
            const auto record = [&tried](const std::string& host, std::uint16_t,
                                         const TAbandonCheck&) -> std::unique_ptr<TDisplayConnection> {
                std::lock_guard guard(tried.Lock);
                tried.Hosts.push_back(host);
                throw EVorlixError("refused");
            };
            auto& client = *clients.emplace_back(std::make_unique<TDisplayClientVorlixTCPIP>(
                TDisplayBase("Hall", "", fromStart ? settings : "10.1.2.3:4000", DisplayType_Vorlix3Ip),
                false, record));
            client.SetOnLogMessage(log.Handler());
            client.SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
            if (!fromStart) {
                EXPECT_FALSE(client.SetDisplayConfig(settings)) << settings;
            }
            client.ThreadStart();
        }
        const std::string error =
            "Configurationstring is not valid:" + settings + " should be: [IPAdress]:[portnumber]";
        EXPECT_EQ(log.Count(FormatLogText(LogType_Error, error)), 2u) << settings;
    }
    // Several of the workers' cycles.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    for (std::size_t i = 0; i < attempts.size(); ++i) {
        std::lock_guard guard(attempts[i]->Lock);
        EXPECT_TRUE(attempts[i]->Hosts.empty()) << rejected[i / 2] << " tried " << attempts[i]->Hosts.front();
    }
    for (const auto& message : log.Messages()) {
        EXPECT_EQ(message.find("Could not connect"), std::string::npos) << message;
    }
    EXPECT_TRUE(clients.front()->SetDisplayConfig("10.9.8.7:4000"));
    EXPECT_TRUE(WaitUntil([&] {
        std::lock_guard guard(attempts.front()->Lock);
        return attempts.front()->Hosts == std::vector<std::string>{"10.9.8.7"};
    }));
}

// A display that refuses a few times: one error line for the whole run of failures, then the
// recovery at INFO.
TEST(DisplayClientVorlixTCPIP, FailingAttemptsAreLoggedOnceAndTheRecoveryIsLogged) {
    TLoopbackDisplay display;
    std::atomic<int> attempts{0};
    const auto refuseThreeTimes = [&](const std::string& host, std::uint16_t port,
                                      const TAbandonCheck& abandon) -> std::unique_ptr<TDisplayConnection> {
        if (++attempts <= 3) {
            throw EVorlixError("Connection refused");
        }
        return ConnectTcp(host, port, abandon);
    };
    TLogRecorder log;
    const auto client = StartedClient(display.Address(), log, refuseThreeTimes);
    ASSERT_TRUE(display.WaitReceived(0, Greeting));
    ASSERT_TRUE(log.WaitFor(FormatLogText(LogType_Info, "Connected to display Hall")));
    EXPECT_EQ(attempts, 4);
    EXPECT_EQ(log.Count(FormatLogText(LogType_Error, "Could not connect to display Hall with settings: " +
                                                         display.Address())),
              1u);
    EXPECT_EQ(client->ConnectionCount(), 1u);
}

// An attempt that hangs is given up as soon as the client is suspended or destroyed; neither
// waits for it, and a given-up attempt is no failure.
TEST(DisplayClientVorlixTCPIP, SuspendAndDestructionGiveUpAConnectInProgress) {
    std::atomic<int> entered{0};
    std::atomic<int> givenUp{0};
    const auto hang = [&](const std::string&, std::uint16_t,
                          const TAbandonCheck& abandon) -> std::unique_ptr<TDisplayConnection> {
        ++entered;
        while (!abandon()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ++givenUp;
        throw EVorlixError("Connection attempt given up");
    };
    TLogRecorder log;
    auto client = StartedClient("10.255.255.1:3027", log, hang);
    ASSERT_TRUE(WaitUntil([&] { return entered == 1; }));
    client->ThreadSuspend();
    EXPECT_FALSE(client->IsRunning());
    ASSERT_TRUE(WaitUntil([&] { return givenUp == 1; }));

    client->ThreadStart();
    ASSERT_TRUE(WaitUntil([&] { return entered == 2; }));
    client.reset();
    EXPECT_EQ(givenUp, 2);
    for (const auto& message : log.Messages()) {
        EXPECT_EQ(message.find("Could not connect"), std::string::npos) << message;
    }
}

} // namespace
