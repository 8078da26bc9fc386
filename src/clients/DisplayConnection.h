#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace asio {
class io_context;
}

// An open link to a display, a serial port or a TCP connection, driven by the thread that runs
// its I/O context. Every operation starts at once and completes later on that thread.
class TDisplayConnection {
public:
    // The failure's text, empty on success, and how many bytes went.
    using TDone = std::function<void(const std::string& error, std::size_t bytes)>;

    virtual ~TDisplayConnection() = default;

    // Writes some of the bytes, which the caller keeps until `done`.
    virtual void WriteSome(const char* bytes, std::size_t size, TDone done) = 0;
    // Reads what arrives, at most `size` bytes; a peer that closed completes it with an error.
    virtual void ReadSome(char* buffer, std::size_t size, TDone done) = 0;
    // Ends the pending operations, which complete with an error, and closes the link.
    virtual void Close() = 0;
};

// Hands work to a link's thread from any thread; once the link is gone the work is dropped.
using TLinkPost = std::function<void(std::function<void()> work)>;
// Where an attempt to open a connection ends, called once on the link's thread: with the
// connection, or with nothing and the failure's text.
using TOpened = std::function<void(std::unique_ptr<TDisplayConnection> connection, const std::string& error)>;
