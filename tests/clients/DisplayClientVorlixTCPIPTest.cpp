#include "clients/DisplayClientVorlixTCPIP.h"

#include "ClientTestSupport.h"
#include "LoopbackDisplay.h"
#include "datasources/DisplayBase.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using clienttest::TClosingPeer;
using clienttest::TExactSource;
using clienttest::TLogRecorder;
using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;

const std::string Greeting = "-dac\r\n-v\r\n";

std::unique_ptr<TDisplayClientVorlixTCPIP> StartedClient(const std::string& settings, TLogRecorder& log,
                                                         TTcpConnectionFactory connect = TcpConnector()) {
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
        // Pushes before the drop is noticed still go to the old connection.
        ASSERT_TRUE(WaitUntil([&] { return display.Connections() == 2; })) << name;
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
        const auto record = [&](asio::io_context&, const TLinkPost&, const std::string& h, std::uint16_t p,
                                TOpened done) {
            {
                std::lock_guard guard(lock);
                host = h;
                port = p;
            }
            done(nullptr, "refused");
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
    // Before the clients, whose threads use them until they are gone.
    std::vector<std::unique_ptr<TAttempts>> attempts;
    TLogRecorder log;
    std::vector<std::unique_ptr<TDisplayClientVorlixTCPIP>> clients;
    for (const std::string& settings : rejected) {
        for (const bool fromStart : {true, false}) {
            auto& tried = *attempts.emplace_back(std::make_unique<TAttempts>());
            const auto record = [&tried](asio::io_context&, const TLinkPost&, const std::string& host,
                                         std::uint16_t, TOpened done) {
                {
                    std::lock_guard guard(tried.Lock);
                    tried.Hosts.push_back(host);
                }
                done(nullptr, "refused");
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
    const auto refuseThreeTimes = [&](asio::io_context& io, const TLinkPost& post, const std::string& host,
                                      std::uint16_t port, TOpened done) {
        if (++attempts <= 3) {
            done(nullptr, "Connection refused");
            return;
        }
        TcpConnector()(io, post, host, port, std::move(done));
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

// An address needs no lookup: it is connected at once, even when the name service hangs.
TEST(DisplayClientVorlixTCPIP, AnAddressIsConnectedWithoutANameLookup) {
    TLoopbackDisplay display;
    const auto lookups = std::make_shared<std::atomic<int>>(0);
    const TNameResolver counting = [lookups](const std::string& host) {
        ++*lookups;
        return ResolveHostName(host);
    };
    TLogRecorder log;
    const auto client = StartedClient(display.Address(), log, TcpConnector(counting));
    EXPECT_TRUE(display.WaitReceived(0, Greeting));
    EXPECT_EQ(*lookups, 0);
}

// An attempt that hangs, such as a name lookup that is never answered, is given up as soon as the
// client is suspended or destroyed; neither waits for it, and a given-up attempt is no failure.
TEST(DisplayClientVorlixTCPIP, SuspendAndDestructionGiveUpAnAttemptThatHangs) {
    // The lookups outlive the test: what they use is theirs.
    struct TNameService {
        std::mutex Lock;
        std::condition_variable Answered;
        bool Answer = false;
        std::atomic<int> Lookups{0};
    };
    const auto service = std::make_shared<TNameService>();
    const TNameResolver neverAnswers = [service](const std::string&) -> std::vector<std::string> {
        ++service->Lookups;
        std::unique_lock guard(service->Lock);
        service->Answered.wait(guard, [&] { return service->Answer; });
        throw EVorlixError("too late");
    };
    TLogRecorder log;
    auto client = StartedClient("display.invalid:3027", log, TcpConnector(neverAnswers));
    ASSERT_TRUE(WaitUntil([&] { return service->Lookups == 1; }));
    client->ThreadSuspend();
    EXPECT_FALSE(client->IsRunning());
    client->ThreadStart();
    ASSERT_TRUE(WaitUntil([&] { return service->Lookups == 2; }));
    const auto start = std::chrono::steady_clock::now();
    client.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    for (const auto& message : log.Messages()) {
        EXPECT_EQ(message.find("Could not connect"), std::string::npos) << message;
    }
    // The lookups end now; what they find goes nowhere.
    {
        std::lock_guard guard(service->Lock);
        service->Answer = true;
    }
    service->Answered.notify_all();
}

// A peer whose connections the system accepts but nobody reads.
class TStalledPeer {
public:
    TStalledPeer() { FListener = ListenOnLoopback(FPort, 8); }
    ~TStalledPeer() {
        for (const int fd : FAccepted) {
            close(fd);
        }
        close(FListener);
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }
    // The peer reads again: accepts the waiting connections and answers what arrives on each.
    std::vector<std::string> AcceptAndRead(std::size_t connections) {
        std::vector<std::string> received(connections);
        while (FAccepted.size() < connections) {
            FAccepted.push_back(accept(FListener, nullptr, nullptr));
        }
        for (std::size_t i = 0; i < connections; ++i) {
            char buffer[65536];
            const auto count = recv(FAccepted[i], buffer, sizeof buffer, MSG_DONTWAIT);
            if (count > 0) {
                received[i].assign(buffer, static_cast<std::size_t>(count));
            }
        }
        return received;
    }

private:
    int FListener = -1;
    std::uint16_t FPort = 0;
    std::vector<int> FAccepted;
};

// Pushes never wait for a display that stops reading: once its buffer is full they are refused,
// the stalled write fails after 2 s without progress, and the next connection greets it again.
TEST(DisplayClientVorlixTCPIP, ADisplayThatStopsReadingFailsItsSendOnceAndIsConnectedAnew) {
    TStalledPeer peer;
    TLogRecorder log;
    const auto client = StartedClient(peer.Address(), log);
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
    const std::string row = "-sc0 -t\"" + std::string(3000, 'x') + "\"";
    const std::string failure =
        FormatLogText(LogType_Error, "Client has error while sending:No progress for 2 s");
    // Until the system's buffers and the client's are full, and then on until the write fails.
    auto slowest = std::chrono::steady_clock::duration::zero();
    std::size_t refused = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (log.Count(failure) == 0 && std::chrono::steady_clock::now() < deadline) {
        const auto start = std::chrono::steady_clock::now();
        const bool taken = client->SendConfigString(row);
        slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
        if (!taken) {
            ++refused;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    ASSERT_EQ(log.Count(failure), 1u) << testing::PrintToString(log.Messages());
    EXPECT_GT(refused, 0u);
    EXPECT_LT(slowest, std::chrono::milliseconds(500));
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 2; }));
    EXPECT_EQ(client->ConnectionStatus().LastError, "Sending failed: No progress for 2 s");
    EXPECT_EQ(peer.AcceptAndRead(2)[1], Greeting);
    EXPECT_TRUE(client->SendConfigString("B"));
    EXPECT_EQ(log.Count(failure), 1u);
}

// A peer that accepts and closes at once is tried at the back-off's pace, and the loss is logged
// once for the whole run.
TEST(DisplayClientVorlixTCPIP, APeerThatClosesAtOnceIsTriedAtTheBackOffsPaceAndLoggedOnce) {
    TClosingPeer peer;
    TLogRecorder log;
    {
        const auto client = StartedClient(peer.Address(), log);
        std::this_thread::sleep_for(std::chrono::seconds(3));
    }
    // 50, 100, 200, 400, 800 and 1600 ms apart.
    EXPECT_GE(peer.Accepted(), 3);
    EXPECT_LE(peer.Accepted(), 8);
    const std::string loss = FormatLogText(LogType_Error, "Connection to display Hall lost:");
    const auto messages = log.Messages();
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(),
                            [&](const std::string& message) { return message.starts_with(loss); }),
              1);
}

} // namespace
