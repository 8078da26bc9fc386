#pragma once

#include "support/TempDir.h"

#include <chrono>
#include <optional>
#include <string>

// A notification socket as systemd offers its services: a datagram socket in a temporary
// directory, named by NOTIFY_SOCKET (and WATCHDOG_USEC, when given) for as long as it lives, so
// that this process and the programs it starts send their notifications here.
class NotifySocket {
public:
    explicit NotifySocket(std::optional<std::chrono::microseconds> watchdog = std::nullopt);
    ~NotifySocket();
    NotifySocket(const NotifySocket&) = delete;
    NotifySocket& operator=(const NotifySocket&) = delete;

    // The next notification, or nothing when none came within `wait`.
    std::optional<std::string> Receive(std::chrono::milliseconds wait = std::chrono::seconds(10));

private:
    TempDir FDir;
    int FSocket = -1;
};
