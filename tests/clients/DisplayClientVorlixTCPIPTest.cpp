#include "clients/DisplayClientVorlixTCPIP.h"

#include "ClientTestSupport.h"
#include "datasources/DisplayBase.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

using clienttest::TExactSource;
using clienttest::TLogRecorder;
using clienttest::WaitUntil;

const std::string Greeting = "-dac\r\n-v\r\n";

// A display on a loopback port: accepts every connection, answers it at once with `answer`, and
// keeps what each connection sends.
class TLoopbackDisplay {
public:
    explicit TLoopbackDisplay(std::string answer = "") : FAnswer(std::move(answer)) {
        FListener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (FListener < 0 || bind(FListener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(FListener, 8) != 0 ||
            getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            throw std::runtime_error("no loopback listener");
        }
        FPort = ntohs(address.sin_port);
        FThread = std::thread([this] { Serve(); });
    }
    ~TLoopbackDisplay() {
        FStop = true;
        FThread.join();
        for (const auto& connection : FConnections) {
            close(connection.Fd);
        }
        close(FListener);
    }
    TLoopbackDisplay(const TLoopbackDisplay&) = delete;
    TLoopbackDisplay& operator=(const TLoopbackDisplay&) = delete;

    std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }
    std::uint16_t Port() const { return FPort; }

    std::size_t Connections() const {
        std::lock_guard lock(FLock);
        return FConnections.size();
    }
    std::string Received(std::size_t connection) const {
        std::lock_guard lock(FLock);
        return connection < FConnections.size() ? FConnections[connection].Received : std::string();
    }
    bool WaitReceived(std::size_t connection, const std::string& expected) const {
        return WaitUntil([&] { return Received(connection) == expected; });
    }
    bool WaitClosedByClient(std::size_t connection) const {
        return WaitUntil([&] {
            std::lock_guard lock(FLock);
            return connection < FConnections.size() && FConnections[connection].ClosedByClient;
        });
    }
    // The display drops the connection.
    void Drop(std::size_t connection) {
        std::lock_guard lock(FLock);
        shutdown(FConnections.at(connection).Fd, SHUT_RDWR);
    }

private:
    struct TConnection {
        int Fd;
        std::string Received;
        bool ClosedByClient = false;
    };

    void Serve() {
        while (!FStop) {
            std::vector<pollfd> ready{{FListener, POLLIN, 0}};
            std::vector<std::size_t> open;
            {
                std::lock_guard lock(FLock);
                for (std::size_t i = 0; i < FConnections.size(); ++i) {
                    if (!FConnections[i].ClosedByClient) {
                        ready.push_back({FConnections[i].Fd, POLLIN, 0});
                        open.push_back(i);
                    }
                }
            }
            if (poll(ready.data(), ready.size(), 10) <= 0) {
                continue;
            }
            if (ready[0].revents & POLLIN) {
                Accept();
            }
            for (std::size_t i = 1; i < ready.size(); ++i) {
                if (ready[i].revents != 0) {
                    Receive(open[i - 1]);
                }
            }
        }
    }

    void Accept() {
        const int fd = accept(FListener, nullptr, nullptr);
        if (fd < 0) {
            return;
        }
        if (!FAnswer.empty()) {
            EXPECT_EQ(send(fd, FAnswer.data(), FAnswer.size(), MSG_NOSIGNAL),
                      static_cast<ssize_t>(FAnswer.size()));
        }
        std::lock_guard lock(FLock);
        FConnections.push_back({fd, {}});
    }

    void Receive(std::size_t connection) {
        char buffer[4096];
        std::lock_guard lock(FLock);
        const auto received = recv(FConnections[connection].Fd, buffer, sizeof buffer, 0);
        if (received <= 0) {
            FConnections[connection].ClosedByClient = true;
        } else {
            FConnections[connection].Received.append(buffer, static_cast<std::size_t>(received));
        }
    }

    const std::string FAnswer;
    int FListener = -1;
    std::uint16_t FPort = 0;
    mutable std::mutex FLock;
    std::vector<TConnection> FConnections;
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

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

// Whether the display drops the connection or the user suspends and starts the client, the next
// connection greets the display again.
TEST(DisplayClientVorlixTCPIP, ANewConnectionAfterADropGreetsTheDisplayAgain) {
    for (const bool displayDrops : {true, false}) {
        TLoopbackDisplay display;
        TLogRecorder log;
        const auto client = StartedClient(display.Address(), log);
        ASSERT_TRUE(display.WaitReceived(0, Greeting));
        ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 1; }));
        if (displayDrops) {
            display.Drop(0);
        } else {
            client->ThreadSuspend();
            EXPECT_TRUE(display.WaitClosedByClient(0));
            EXPECT_FALSE(client->SendConfigString("A"));
            client->ThreadStart();
        }
        EXPECT_TRUE(display.WaitReceived(1, Greeting)) << displayDrops;
        ASSERT_TRUE(WaitUntil([&] { return client->ConnectionCount() == 2; }));
        EXPECT_TRUE(client->SendConfigString("B"));
        EXPECT_TRUE(display.WaitReceived(1, Greeting + "B\r\n"));
        EXPECT_EQ(display.Connections(), 2u);
    }
}

TEST(DisplayClientVorlixTCPIP, SettingsTextIsAnAddressAndAPort) {
    const struct {
        const char* settings;
        bool accepted;
        const char* host;
        std::uint16_t port;
        const char* warning; // nullptr: none
    } cases[] = {
        {"10.1.2.3:4000", true, "10.1.2.3", 4000, nullptr},
        {"display.local:3027", true, "display.local", 3027, nullptr},
        {"10.1.2.3", true, "10.1.2.3", 3027,
         "Configured address is not including port. using 3027 as default port"},
        {"10.1.2.3:x", true, "10.1.2.3", 3027, "x is not a valid portnumber. using default port 3027"},
        {"10.1.2.3:70000", true, "10.1.2.3", 3027,
         "70000 is not a valid portnumber. using default port 3027"},
        {"", false, "192.168.0.9", 5000, nullptr},
        {"::1", false, "192.168.0.9", 5000, nullptr},
        {"fe80::1:3027", false, "192.168.0.9", 5000, nullptr},
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

        EXPECT_EQ(client->SetDisplayConfig(c.settings), c.accepted) << c.settings;
        EXPECT_EQ(client->BaseConfiguration(), c.settings);
        const std::string error = std::string("Configurationstring is not valid:") + c.settings +
                                  " should be: [IPAdress]:[portnumber]";
        EXPECT_EQ(log.Count(FormatLogText(LogType_Error, error)), c.accepted ? 0u : 1u) << c.settings;
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
