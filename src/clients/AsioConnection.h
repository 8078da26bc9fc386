#pragma once

// asio fences its handlers with std::atomic_thread_fence, which ThreadSanitizer cannot follow and
// GCC warns about. Each io_context here is run by one thread, so nothing is missed.
#if defined(__SANITIZE_THREAD__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wtsan"
#endif

#include "clients/DisplayConnection.h"

#include <asio.hpp>

// A display connection over an open asio stream (a serial port or a TCP socket); asio's errors
// become their texts.
template <typename Stream> class TAsioConnection final : public TDisplayConnection {
public:
    explicit TAsioConnection(Stream stream) : FStream(std::move(stream)) {}
    ~TAsioConnection() override { Close(); }

    void WriteSome(const char* bytes, std::size_t size, TDone done) override {
        FStream.async_write_some(asio::buffer(bytes, size),
                                 [done = std::move(done)](const asio::error_code& error, std::size_t count) {
                                     done(error ? error.message() : std::string(), count);
                                 });
    }

    void ReadSome(char* buffer, std::size_t size, TDone done) override {
        FStream.async_read_some(asio::buffer(buffer, size),
                                [done = std::move(done)](const asio::error_code& error, std::size_t count) {
                                    done(error ? error.message() : std::string(), count);
                                });
    }

    void Close() override {
        asio::error_code ignored;
        FStream.close(ignored);
    }

private:
    Stream FStream;
};
