#include "simulator/SimServer.h"

#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

// One end of a byte stream to the server, closed with the object.
class Peer {
public:
    explicit Peer(int fd) : FFd(fd) {}
    ~Peer() { Close(); }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    void Close() {
        if (FFd >= 0) {
            close(FFd);
            FFd = -1;
        }
    }

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

// Reads exactly `size` bytes from `fd` within `wait`; false when they do not come.
bool ReadExactly(int fd, void* data, std::size_t size, std::chrono::milliseconds wait) {
    auto* bytes = static_cast<char*>(data);
    const auto until = std::chrono::steady_clock::now() + wait;
    for (std::size_t got = 0; got < size;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        pollfd watched{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&watched, 1, static_cast<int>(left.count())) != 1) {
            return false;
        }
        const ssize_t count = read(fd, bytes + got, size - got);
        if (count <= 0) {
            return false;
        }
        got += static_cast<std::size_t>(count);
    }
    return true;
}

// What the server process tells the test: its port, then the processor time it used over the
// measuring window and the messages it reported by then.
struct TStarvedServerReport {
    std::uint16_t Port = 0;
    std::int64_t ProcessorNanoseconds = 0;
    std::string Messages;
};

std::int64_t ProcessorNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The server's side, in a child process of its own: a server left with a single free descriptor.
// Waits for a byte on `commands` before it measures a window of `window`, and for another before it
// ends. Its main thread only waits, so the process's processor time is the server's.
[[noreturn]] void RunStarvedServer(int commands, int answers, std::chrono::milliseconds window) {
    TSimDisplay display(64);
    std::mutex lock;
    std::string messages;
    TSimServer server(display, {"127.0.0.1", 0, false}, [&](const std::string& message) {
        std::lock_guard guard(lock);
        messages += message + "\n";
    });
    const int lowestFree = open("/dev/null", O_RDONLY);
    close(lowestFree);
    const rlimit limit{rlim_t(lowestFree + 1), rlim_t(lowestFree + 1)};
    setrlimit(RLIMIT_NOFILE, &limit);
    const std::uint16_t port = server.Port();
    char command = 0;
    if (write(answers, &port, sizeof port) != sizeof port || read(commands, &command, 1) != 1) {
        _exit(1);
    }
    const std::int64_t start = ProcessorNanoseconds();
    std::this_thread::sleep_for(window);
    const std::int64_t used = ProcessorNanoseconds() - start;
    std::string said;
    {
        std::lock_guard guard(lock);
        said = messages;
    }
    const std::uint32_t length = std::uint32_t(said.size());
    if (write(answers, &used, sizeof used) != sizeof used ||
        write(answers, &length, sizeof length) != sizeof length ||
        write(answers, said.data(), said.size()) != ssize_t(said.size()) ||
        read(commands, &command, 1) != 1) {
        _exit(1);
    }
    _exit(0);
}

TEST(SimServerTest, OutOfDescriptorsItRestsInsteadOfSpinningAndReportsItOnce) {
    int commands[2];
    int answers[2];
    ASSERT_EQ(pipe(commands), 0);
    ASSERT_EQ(pipe(answers), 0);
    constexpr auto window = 300ms;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RunStarvedServer(commands[0], answers[1], window);
    }
    close(commands[0]);
    close(answers[1]);
    TStarvedServerReport report;
    ASSERT_TRUE(ReadExactly(answers[0], &report.Port, sizeof report.Port, 10s));

    // The first connection takes the one free descriptor; the others have to wait in the queue.
    Peer first = Peer::Connect(report.Port);
    const Peer second = Peer::Connect(report.Port);
    const Peer third = Peer::Connect(report.Port);
    first.Send("-v\r\n");
    second.Send("-v\r\n");
    EXPECT_EQ(first.Receive(10), "VSIM 1.0\r\n");

    const char go = 1;
    ASSERT_EQ(write(commands[1], &go, 1), 1);
    std::uint32_t length = 0;
    ASSERT_TRUE(
        ReadExactly(answers[0], &report.ProcessorNanoseconds, sizeof report.ProcessorNanoseconds, 10s));
    ASSERT_TRUE(ReadExactly(answers[0], &length, sizeof length, 1s));
    report.Messages.resize(length);
    ASSERT_TRUE(ReadExactly(answers[0], report.Messages.data(), length, 1s));

    EXPECT_LT(report.ProcessorNanoseconds, std::chrono::nanoseconds(window).count() / 10)
        << "processor time over a window of " << window.count() << " ms";
    EXPECT_EQ(report.Messages, "Cannot accept a connection on port " + std::to_string(report.Port) +
                                   ": Too many open files; trying again every 200 ms\n");

    // A connection that goes frees its descriptor for the next one waiting.
    first.Close();
    EXPECT_EQ(second.Receive(10), "VSIM 1.0\r\n");

    ASSERT_EQ(write(commands[1], &go, 1), 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    close(commands[1]);
    close(answers[0]);
}

} // namespace
