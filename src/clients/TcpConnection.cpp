// asio fences its handlers with std::atomic_thread_fence, which ThreadSanitizer cannot follow and
// GCC warns about. Each io_context here is run by one thread at a time, so nothing is missed.
#if defined(__SANITIZE_THREAD__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wtsan"
#endif

#include "clients/TcpConnection.h"

#include "clients/AsioReadByte.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <asio.hpp>

#include <algorithm>
#include <cerrno>
#include <sys/socket.h>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using std::chrono::steady_clock;

// Without a limit of our own a connect waits for the system's, about two minutes on Linux.
constexpr seconds ConnectTimeout{5};
constexpr seconds WriteTimeout{5};
// How often a connect in progress asks whether to give up.
constexpr milliseconds AbandonPollInterval{20};
// Bytes discarded per connection check at most, so a chatty display cannot keep the check busy.
constexpr int MaxDiscardReads = 64;

class TTcpConnection final : public TDisplayConnection {
public:
    TTcpConnection(const std::string& host, std::uint16_t port, const TAbandonCheck& abandon) {
        const auto deadline = steady_clock::now() + ConnectTimeout;
        asio::ip::tcp::resolver resolver(FIo);
        asio::ip::tcp::resolver::results_type endpoints;
        asio::error_code error;
        bool done = false;
        resolver.async_resolve(host, std::to_string(port), [&](const asio::error_code& result, auto found) {
            error = result;
            endpoints = std::move(found);
            done = true;
        });
        Await(done, deadline, abandon, [&] { resolver.cancel(); });
        Check(error, host, port);

        done = false;
        asio::async_connect(FSocket, endpoints, [&](const asio::error_code& result, const auto&) {
            error = result;
            done = true;
        });
        Await(done, deadline, abandon, [&] { CloseSocket(); });
        Check(error, host, port);
        // Command lines are short and go out one after the other; do not hold them back.
        FSocket.set_option(asio::ip::tcp::no_delay(true), error);
    }

    ~TTcpConnection() override { CloseSocket(); }

    void Write(const std::string& bytes) override {
        asio::error_code error;
        bool done = false;
        asio::async_write(FSocket, asio::buffer(bytes), [&](const asio::error_code& result, std::size_t) {
            error = result;
            done = true;
        });
        Await(done, steady_clock::now() + WriteTimeout, nullptr, [&] { CloseSocket(); });
        if (error) {
            throw EVorlixError(SprintF("Could not write to the display: %s", error.message()));
        }
    }

    std::optional<char> ReadByte(milliseconds timeout) override {
        return ReadByteWithin(FIo, FSocket, timeout);
    }

    // A peer that closed or reset the connection shows when the socket is read without waiting.
    // Whatever the display sent unasked is of no use and is discarded, so a close behind it shows.
    bool IsConnected() override {
        if (!FSocket.is_open()) {
            return false;
        }
        char discarded[256];
        for (int read = 0; read < MaxDiscardReads; ++read) {
            const auto received = ::recv(FSocket.native_handle(), discarded, sizeof discarded, MSG_DONTWAIT);
            if (received == 0) {
                return false;
            }
            if (received < 0) {
                return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
            }
        }
        return true;
    }

private:
    // Runs the operation just started until it reports `done`. When the deadline passes or
    // `abandon` answers true first, `cancel` makes it end, it is run to its end, and this throws.
    void Await(const bool& done, steady_clock::time_point deadline, const TAbandonCheck& abandon,
               const std::function<void()>& cancel) {
        FIo.restart();
        while (!done) {
            const bool abandoned = abandon && abandon();
            const auto now = steady_clock::now();
            if (abandoned || now >= deadline) {
                cancel();
                FIo.run();
                throw EVorlixError(abandoned ? "Connection attempt given up" : "Timed out");
            }
            FIo.run_for(std::min<steady_clock::duration>(deadline - now, AbandonPollInterval));
        }
    }

    void CloseSocket() {
        asio::error_code ignored;
        FSocket.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
        FSocket.close(ignored);
    }

    static void Check(const asio::error_code& error, const std::string& host, std::uint16_t port) {
        if (error) {
            throw EVorlixError(SprintF("Could not connect to %s:%d: %s", host, port, error.message()));
        }
    }

    asio::io_context FIo;
    asio::ip::tcp::socket FSocket{FIo};
};

} // namespace

std::unique_ptr<TDisplayConnection> ConnectTcp(const std::string& host, std::uint16_t port,
                                               const TAbandonCheck& abandon) {
    return std::make_unique<TTcpConnection>(host, port, abandon);
}
