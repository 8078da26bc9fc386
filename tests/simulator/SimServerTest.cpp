#include "simulator/SimServer.h"

#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// One end of a byte stream to the server, closed with the object.
class Peer {
public:
    explicit Peer(int fd) : FFd(fd) {}
    ~Peer() { close(FFd); }

    static Peer Connect(std::uint16_t port) {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        return Peer(fd);
    }

    void Send(const std::string& bytes) const {
        ASSERT_EQ(write(FFd, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }

    // What arrives until `expected` bytes have come or the peer stays silent for a while.
    std::string Receive(std::size_t expected) const {
        std::string received;
        pollfd watched{FFd, POLLIN, 0};
        while (received.size() < expected && poll(&watched, 1, 5000) == 1) {
            char buffer[256];
            const ssize_t count = read(FFd, buffer, sizeof(buffer));
            if (count <= 0) {
                break;
            }
            received.append(buffer, static_cast<std::size_t>(count));
        }
        return received;
    }

private:
    int FFd;
};

// The server works on its own thread; wait until the display has taken a line in.
bool ShowsSomething(const TSimDisplay& display) {
    for (auto until = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < until;) {
        if (display.Frame().ToText().find_first_of("RGY") != std::string::npos) {
            return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

TEST(SimServerTest, GreetsATcpClientAndShowsItsLines) {
    TSimDisplay display(64);
    TSimServer server(display, {"127.0.0.1", 0, false});
    ASSERT_NE(server.Port(), 0);
    const Peer first = Peer::Connect(server.Port());
    const Peer second = Peer::Connect(server.Port());
    first.Send("-dac\r\n-v\r\n");
    EXPECT_EQ(first.Receive(10), "VSIM 1.0\r\n");
    second.Send("-sc0 -sg0,0,64,16 -f1 -cf2 -t\"Hej\"  \r\n");
    EXPECT_TRUE(ShowsSomething(display));
    second.Send("-v\r\n");
    EXPECT_EQ(second.Receive(10), "VSIM 1.0\r\n") << "each connection gets its own answers";
}

TEST(SimServerTest, ServesAPseudoTerminalLikeASerialDisplay) {
    TSimDisplay display(128);
    TSimServer server(display, {"127.0.0.1", 0, true});
    ASSERT_TRUE(server.PtyPath().starts_with("/dev/")) << server.PtyPath();
    const Peer serial(open(server.PtyPath().c_str(), O_RDWR | O_NOCTTY));
    serial.Send("-dac -i100 -v\r");
    EXPECT_EQ(serial.Receive(10), "VSIM 1.0\r\n");
    serial.Send("-sc0 -sg0,0,128,16 -f1 -cf1 -t\"Hej\"  \r\r");
    EXPECT_TRUE(ShowsSomething(display));
}

TEST(SimServerTest, ReportsAnAddressItCannotListenOn) {
    TSimDisplay display(64);
    TSimServer taken(display, {"127.0.0.1", 0, false});
    try {
        TSimServer second(display, {"127.0.0.1", taken.Port(), false});
        FAIL() << "listened twice";
    } catch (const EVorlixError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot listen on 127.0.0.1:" + std::to_string(taken.Port()) + ": Address already in use");
    }
    EXPECT_THROW(TSimServer(display, {"not an address", 0, false}), EVorlixError);
}

} // namespace
