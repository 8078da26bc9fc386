#include "support/LoopbackListener.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

LoopbackListener::LoopbackListener() {
    FListener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (FListener < 0 || bind(FListener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(FListener, 4) != 0 ||
        getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    FPort = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    if (FPeer >= 0) {
        close(FPeer);
    }
    close(FListener);
}

std::string LoopbackListener::ReceiveAtLeast(std::size_t bytes, std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (FReceived.size() < bytes && std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{FPeer >= 0 ? FPeer : FListener, POLLIN, 0};
        if (poll(&waiting, 1, 10) <= 0) {
            continue;
        }
        if (FPeer < 0) {
            FPeer = accept(FListener, nullptr, nullptr);
            continue;
        }
        char buffer[4096];
        const ssize_t count = recv(FPeer, buffer, sizeof(buffer), 0);
        if (count <= 0) {
            break;
        }
        FReceived.append(buffer, static_cast<std::size_t>(count));
    }
    return FReceived;
}

void LoopbackListener::Send(const std::string& bytes) {
    if (FPeer >= 0) {
        (void)send(FPeer, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
}
