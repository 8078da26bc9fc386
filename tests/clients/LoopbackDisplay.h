#pragma once

#include "ClientTestSupport.h"

#include "support/LoopbackSocket.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace clienttest {

// A display on a loopback port: accepts every connection, answers it at once with `answer`, and
// keeps what each connection sends.
class TLoopbackDisplay {
public:
    explicit TLoopbackDisplay(std::string answer = "") : FAnswer(std::move(answer)) {
        FListener = ListenOnLoopback(FPort, 8);
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
    // The display sends something of its own accord.
    void Send(std::size_t connection, const std::string& bytes) {
        std::lock_guard lock(FLock);
        EXPECT_EQ(send(FConnections.at(connection).Fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
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

// A peer that accepts every connection and closes it at once.
class TClosingPeer {
public:
    TClosingPeer() {
        FListener = ListenOnLoopback(FPort, 8);
        FThread = std::thread([this] {
            while (!FStop) {
                pollfd ready{FListener, POLLIN, 0};
                if (poll(&ready, 1, 10) == 1) {
                    close(accept(FListener, nullptr, nullptr));
                    ++FAccepted;
                }
            }
        });
    }
    ~TClosingPeer() {
        FStop = true;
        FThread.join();
        close(FListener);
    }
    TClosingPeer(const TClosingPeer&) = delete;
    TClosingPeer& operator=(const TClosingPeer&) = delete;

    std::string Address() const { return "127.0.0.1:" + std::to_string(FPort); }
    int Accepted() const { return FAccepted; }

private:
    int FListener = -1;
    std::uint16_t FPort = 0;
    std::atomic<int> FAccepted{0};
    std::atomic<bool> FStop{false};
    std::thread FThread;
};

// An address on which nothing listens: connections to it are refused.
inline std::string RefusingAddress() {
    std::uint16_t port = 0;
    close(ListenOnLoopback(port, 1));
    return "127.0.0.1:" + std::to_string(port);
}

} // namespace clienttest
