#include "support/LoopbackListener.h"

#include "support/LoopbackSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

LoopbackListener::LoopbackListener() {
    FListener = ListenOnLoopback(FPort, 4);
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
