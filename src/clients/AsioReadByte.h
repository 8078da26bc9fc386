#pragma once

#include <asio.hpp>

#include <chrono>
#include <optional>

// One byte from `stream`, waiting at most `timeout`; `io` is the stream's context, which nothing
// else runs meanwhile. A read still pending at the time-out is cancelled and finished.
template <typename Stream>
std::optional<char> ReadByteWithin(asio::io_context& io, Stream& stream, std::chrono::milliseconds timeout) {
    char byte = 0;
    bool received = false;
    io.restart();
    stream.async_read_some(asio::buffer(&byte, 1), [&](const asio::error_code& error, std::size_t count) {
        received = !error && count == 1;
    });
    if (io.run_for(timeout) == 0) {
        asio::error_code ignored;
        stream.cancel(ignored);
        io.run();
    }
    return received ? std::optional<char>(byte) : std::nullopt;
}
