#include "clients/TcpConnection.h"

#include "ClientTestSupport.h"
#include "LoopbackDisplay.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <stdexcept>

namespace {

using clienttest::TLoopbackDisplay;
using clienttest::WaitUntil;

std::unique_ptr<TDisplayConnection> ConnectTo(const TLoopbackDisplay& display) {
    auto connection = ConnectTcp("127.0.0.1", display.Port(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return display.Connections() == 1; }));
    return connection;
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EVorlixError& error) {
        return error.what();
    }
    return "no error";
}

// A loopback listener whose queue of unaccepted connections is full, so that a further connect
// waits for an answer that does not come.
class TFullListener {
public:
    TFullListener() {
        FListener = ListenOnLoopback(FPort, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(FPort);
        FFiller = socket(AF_INET, SOCK_STREAM, 0);
        if (connect(FFiller, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("could not fill the listener's queue");
        }
    }
    ~TFullListener() {
        close(FFiller);
        close(FListener);
    }
    TFullListener(const TFullListener&) = delete;
    TFullListener& operator=(const TFullListener&) = delete;

    std::uint16_t Port() const { return FPort; }

private:
    int FListener = -1;
    int FFiller = -1;
    std::uint16_t FPort = 0;
};

// The check must notice a peer that is gone without a write failing first, also when the peer
// sent something nobody reads before it closed.
TEST(TcpConnection, ConnectedCheckNoticesAPeerThatClosed) {
    const struct {
        const char* peerSends;
        bool peerCloses;
    } cases[] = {{"", false}, {"", true}, {"unasked", false}, {"unasked", true}};
    for (const auto& c : cases) {
        TLoopbackDisplay display;
        const auto connection = ConnectTo(display);
        EXPECT_TRUE(connection->IsConnected());
        if (*c.peerSends) {
            display.Send(0, c.peerSends);
        }
        if (c.peerCloses) {
            display.Drop(0);
            EXPECT_TRUE(WaitUntil([&] { return !connection->IsConnected(); })) << c.peerSends;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_TRUE(connection->IsConnected()) << c.peerSends;
            connection->Write("still here\r\n");
            EXPECT_TRUE(display.WaitReceived(0, "still here\r\n"));
        }
    }
}

TEST(TcpConnection, ReadByteAnswersWhatArrivesAndNothingOnceThePeerIsSilentOrGone) {
    TLoopbackDisplay display("ab");
    const auto connection = ConnectTo(display);
    const std::chrono::milliseconds timeout{100};
    EXPECT_EQ(connection->ReadByte(timeout), 'a');
    EXPECT_EQ(connection->ReadByte(timeout), 'b');
    EXPECT_EQ(connection->ReadByte(timeout), std::nullopt);
    display.Send(0, "c");
    EXPECT_EQ(connection->ReadByte(std::chrono::seconds(10)), 'c');
    display.Drop(0);
    EXPECT_EQ(connection->ReadByte(std::chrono::seconds(10)), std::nullopt);
}

TEST(TcpConnection, ConnectToAClosedPortFails) {
    std::uint16_t port = 0;
    {
        TLoopbackDisplay closed;
        port = closed.Port();
    }
    const std::string error = ErrorOf([&] { ConnectTcp("127.0.0.1", port, nullptr); });
    EXPECT_TRUE(error.starts_with("Could not connect to 127.0.0.1:" + std::to_string(port) + ": ")) << error;
}

TEST(TcpConnection, ConnectInProgressIsGivenUpWhenAsked) {
    TFullListener listener;
    std::atomic<int> asked{0};
    const std::string error =
        ErrorOf([&] { ConnectTcp("127.0.0.1", listener.Port(), [&] { return ++asked > 3; }); });
    EXPECT_EQ(error, "Connection attempt given up");
    EXPECT_EQ(asked, 4);
}

} // namespace
