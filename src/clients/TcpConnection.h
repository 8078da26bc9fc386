#pragma once

#include "clients/DisplayConnection.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Connects to a display over TCP. Gives up after 5 s, or as soon as `abandon` answers true, and
// throws EVorlixError then or when the host cannot be reached. Writes that stall for 5 s fail too.
std::unique_ptr<TDisplayConnection> ConnectTcp(const std::string& host, std::uint16_t port,
                                               const TAbandonCheck& abandon);

// How a TCP/IP client gets its connection; tests may hand in their own.
using TTcpConnectionFactory = std::function<std::unique_ptr<TDisplayConnection>(
    const std::string& host, std::uint16_t port, const TAbandonCheck& abandon)>;
