#pragma once

#include "clients/DisplayConnection.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Finds the addresses of a host name, as numeric texts; may take as long as the name service
// does, and throws EVorlixError when the name is unknown.
using TNameResolver = std::function<std::vector<std::string>(const std::string& host)>;
std::vector<std::string> ResolveHostName(const std::string& host);

// Opens a TCP connection to a display on `io`'s thread, telling `done` how it went. The name is
// resolved on a thread of its own that nobody waits for, so a name service that never answers
// delays nothing but this attempt, which gives up after 5 s.
void ConnectTcp(asio::io_context& io, const TLinkPost& post, const TNameResolver& resolve,
                const std::string& host, std::uint16_t port, TOpened done);

// How a TCP/IP client opens its connection; tests may hand in their own.
using TTcpConnectionFactory = std::function<void(asio::io_context& io, const TLinkPost& post,
                                                 const std::string& host, std::uint16_t port, TOpened done)>;
// ConnectTcp with the given resolver.
TTcpConnectionFactory TcpConnector(TNameResolver resolve = ResolveHostName);
