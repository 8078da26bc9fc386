#pragma once

#include <cstdint>

// A TCP socket listening on 127.0.0.1 at a free port, with room for `backlog` connections not
// yet accepted; `port` receives its port. Fails with std::runtime_error, leaving nothing open.
int ListenOnLoopback(std::uint16_t& port, int backlog);
