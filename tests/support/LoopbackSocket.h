#pragma once

#include <cstdint>

// A TCP socket listening on 127.0.0.1 at a free port, with room for `backlog` connections not
// yet accepted; `port` receives its port. With `takesLittle`, a connection holds only some
// 100 KB that nobody reads, both ends' buffers together, before its peer's writes must wait
// (without it, megabytes). Fails with std::runtime_error, leaving nothing open.
int ListenOnLoopback(std::uint16_t& port, int backlog, bool takesLittle = false);
