#include "clients/DisplayClientDebug.h"
#include "clients/DisplayClientVorlix3COM.h"
#include "clients/DisplayClientVorlixTCPIP.h"

#include "ClientTestSupport.h"
#include "LoopbackDisplay.h"
#include "datasources/DisplayBase.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace {

using clienttest::RefusingAddress;
using clienttest::TClosingPeer;
using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;

// Every status a client announces, taken when it announces it.
class TStatusRecorder {
public:
    struct TSeen {
        TConnectionStatus Status;
        TDateTime At;
    };

    void Follow(TDisplayClientBase& client) {
        client.SetOnConnectionStatusChanged([this, &client] {
            const TSeen seen{client.ConnectionStatus(), Now()};
            std::lock_guard lock(FLock);
            FSeen.push_back(seen);
        });
    }
    std::vector<TSeen> Seen() const {
        std::lock_guard lock(FLock);
        return FSeen;
    }
    std::vector<TConnectionState> States() const {
        std::vector<TConnectionState> states;
        for (const auto& seen : Seen()) {
            states.push_back(seen.Status.State);
        }
        return states;
    }

private:
    mutable std::mutex FLock;
    std::vector<TSeen> FSeen;
};

using TClientMaker = std::function<std::unique_ptr<TDisplayClientBase>()>;

TClientMaker TcpClient(const std::string& settings) {
    return [settings] {
        return std::make_unique<TDisplayClientVorlixTCPIP>(
            TDisplayBase("Hall", "", settings, DisplayType_Vorlix3Ip), false);
    };
}

TClientMaker SerialClient(const std::string& device) {
    return [device] {
        return std::make_unique<TDisplayClientVorlix3COM>(
            TDisplayBase("Hall", "", device, DisplayType_Vorlix3Com), false);
    };
}

// The recorder follows the client from before its start.
std::unique_ptr<TDisplayClientBase> Started(const TClientMaker& make, TStatusRecorder& recorder) {
    auto client = make();
    recorder.Follow(*client);
    client->SetClientMode(TDisplayClientBase::ClientMode_PushConfigstrings);
    client->ThreadStart();
    return client;
}

TEST(ConnectionStatus, FollowsWhatThePeerDoesAndASuspendShowsAtOnce) {
    TLoopbackDisplay accepting;
    TClosingPeer closing;
    const struct {
        const char* name;
        TClientMaker make;
        TConnectionState state;
        std::string errorStart;
    } cases[] = {
        {"accepts", TcpClient(accepting.Address()), TConnectionState::Connected, ""},
        {"refuses", TcpClient(RefusingAddress()), TConnectionState::Retrying,
         "Could not connect to 127.0.0.1:"},
        {"closes at once", TcpClient(closing.Address()), TConnectionState::Retrying, "Connection lost: "},
        {"no serial port", SerialClient("/dev/vorlix-test-missing"), TConnectionState::Retrying,
         "Could not open serial port /dev/vorlix-test-missing: "},
    };
    for (const auto& c : cases) {
        TStatusRecorder recorder;
        const TDateTime before = Now();
        const auto client = Started(c.make, recorder);
        ASSERT_TRUE(WaitUntil([&] {
            const TConnectionStatus status = client->ConnectionStatus();
            return status.State == c.state && status.LastError.starts_with(c.errorStart);
        })) << c.name
            << ": " << ConnectionStateName(client->ConnectionStatus().State) << ", "
            << client->ConnectionStatus().LastError;
        const TConnectionStatus status = client->ConnectionStatus();
        EXPECT_EQ(status.LastError.empty(), c.errorStart.empty()) << c.name;
        ASSERT_EQ(status.ConnectedSince.has_value(), c.state == TConnectionState::Connected) << c.name;
        if (status.ConnectedSince) {
            EXPECT_GE(*status.ConnectedSince, before) << c.name;
            EXPECT_LE(*status.ConnectedSince, Now()) << c.name;
        }
        // Announced as it was reached, and never the closed moment between a failure and the
        // wait for the next attempt.
        const auto states = recorder.States();
        EXPECT_NE(std::find(states.begin(), states.end(), c.state), states.end()) << c.name;
        EXPECT_EQ(std::find(states.begin(), states.end(), TConnectionState::Off), states.end()) << c.name;

        client->ThreadSuspend();
        const TConnectionStatus suspended = client->ConnectionStatus();
        EXPECT_EQ(suspended.State, TConnectionState::Off) << c.name;
        EXPECT_FALSE(suspended.ConnectedSince) << c.name;
        EXPECT_TRUE(suspended.LastError.starts_with(c.errorStart)) << c.name;
        EXPECT_TRUE(WaitUntil([&] { return recorder.States().back() == TConnectionState::Off; })) << c.name;
    }
}

TEST(ConnectionStatus, SettingsThatNameNoDisplayLeaveItOff) {
    TStatusRecorder recorder;
    const auto client = Started(TcpClient(""), recorder);
    // Long enough for an attempt the client should not make.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(client->ConnectionStatus(), TConnectionStatus{});
    EXPECT_TRUE(recorder.Seen().empty());
}

// An operator who finds a display connected wants to know why it dropped: the reason stays until
// the new connection has lasted a second.
TEST(ConnectionStatus, ALossStaysTheLastErrorUntilTheNextConnectionHasLastedASecond) {
    TLoopbackDisplay display;
    TStatusRecorder recorder;
    const auto client = Started(TcpClient(display.Address()), recorder);
    ASSERT_TRUE(WaitUntil([&] { return client->ConnectionStatus().State == TConnectionState::Connected; }));
    display.Drop(0);
    ASSERT_TRUE(WaitUntil([&] {
        const TConnectionStatus status = client->ConnectionStatus();
        return display.Connections() == 2 && status.State == TConnectionState::Connected &&
               status.LastError.empty();
    }));
    const auto seen = recorder.Seen();
    const auto cleared = std::find_if(seen.rbegin(), seen.rend(), [](const auto& s) {
        return s.Status.State == TConnectionState::Connected && s.Status.LastError.empty();
    });
    ASSERT_NE(cleared, seen.rend());
    const TDateTime since = *cleared->Status.ConnectedSince;
    const auto reconnected = std::find_if(seen.begin(), seen.end(), [&](const auto& s) {
        return s.Status.State == TConnectionState::Connected && s.Status.ConnectedSince == since;
    });
    ASSERT_NE(reconnected, seen.end());
    EXPECT_TRUE(reconnected->Status.LastError.starts_with("Connection lost: "))
        << reconnected->Status.LastError;
    EXPECT_GE(MillisecondsBetween(cleared->At, since), 990);
}

TEST(ConnectionStatus, ADebugClientIsConnectedWhileItRuns) {
    const TDateTime before = Now();
    TDisplayClientDebug client(TDisplayBase("Desk", "", "", DisplayType_Debug));
    TStatusRecorder recorder;
    recorder.Follow(client);
    const TConnectionStatus running = client.ConnectionStatus();
    EXPECT_EQ(running.State, TConnectionState::Connected);
    EXPECT_EQ(running.LastError, "");
    ASSERT_TRUE(running.ConnectedSince);
    EXPECT_GE(*running.ConnectedSince, before);

    client.ThreadSuspend();
    EXPECT_EQ(client.ConnectionStatus(), TConnectionStatus{});
    client.ThreadStart();
    client.ThreadStart();
    const TConnectionStatus restarted = client.ConnectionStatus();
    EXPECT_EQ(restarted.State, TConnectionState::Connected);
    ASSERT_TRUE(restarted.ConnectedSince);
    EXPECT_GE(*restarted.ConnectedSince, *running.ConnectedSince);
    EXPECT_EQ(recorder.States(), (std::vector{TConnectionState::Off, TConnectionState::Connected}));
}

} // namespace
