#include "support/NotifySocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

NotifySocket::NotifySocket(std::optional<std::chrono::microseconds> watchdog) {
    const std::string path = (FDir / "notify").string();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        throw std::runtime_error("notification socket path too long: " + path);
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    FSocket = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (FSocket < 0 || bind(FSocket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        if (FSocket >= 0) {
            close(FSocket);
        }
        throw std::runtime_error("cannot open a notification socket at " + path);
    }
    setenv("NOTIFY_SOCKET", path.c_str(), 1);
    if (watchdog) {
        setenv("WATCHDOG_USEC", std::to_string(watchdog->count()).c_str(), 1);
    }
}

NotifySocket::~NotifySocket() {
    unsetenv("NOTIFY_SOCKET");
    unsetenv("WATCHDOG_USEC");
    close(FSocket);
}

std::optional<std::string> NotifySocket::Receive(std::chrono::milliseconds wait) {
    pollfd waiting{FSocket, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(wait.count())) <= 0) {
        return std::nullopt;
    }
    char buffer[4096];
    const ssize_t count = recv(FSocket, buffer, sizeof(buffer), 0);
    if (count < 0) {
        return std::nullopt;
    }
    return std::string(buffer, static_cast<std::size_t>(count));
}
