#include "clients/TcpConnection.h"

#include "clients/AsioConnection.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <netdb.h>
#include <sys/socket.h>

#include <chrono>
#include <exception>
#include <memory>
#include <thread>

namespace {

// Without a limit of our own a connect waits for the system's, about two minutes on Linux.
constexpr std::chrono::seconds ConnectTimeout{5};

// One attempt: resolving, then connecting, until it succeeds, fails or times out. Its handlers
// own it; the resolver's thread only knows where it was.
class TTcpAttempt : public std::enable_shared_from_this<TTcpAttempt> {
public:
    TTcpAttempt(asio::io_context& io, std::string host, std::uint16_t port, TOpened done)
        : FHost(std::move(host)), FPort(port), FDone(std::move(done)), FSocket(io), FTimer(io) {}

    void Start(const TLinkPost& post, const TNameResolver& resolve) {
        FTimer.expires_after(ConnectTimeout);
        FTimer.async_wait([self = shared_from_this()](const asio::error_code& error) {
            if (!error) {
                self->Finish("Timed out");
            }
        });
        // An address needs no lookup, nor a thread to wait for one.
        asio::error_code notAnAddress;
        asio::ip::make_address(FHost, notAnAddress);
        if (!notAnAddress) {
            Resolved({FHost}, {});
            return;
        }
        std::thread([post, resolve, host = FHost, attempt = weak_from_this()] {
            std::vector<std::string> addresses;
            std::string failure;
            try {
                addresses = resolve(host);
            } catch (const std::exception& error) {
                failure = error.what();
            }
            post([attempt, addresses = std::move(addresses), failure] {
                if (const auto self = attempt.lock()) {
                    self->Resolved(addresses, failure);
                }
            });
        }).detach();
    }

private:
    void Resolved(const std::vector<std::string>& addresses, const std::string& failure) {
        std::vector<asio::ip::tcp::endpoint> endpoints;
        for (const auto& text : addresses) {
            asio::error_code error;
            const auto address = asio::ip::make_address(text, error);
            if (!error) {
                endpoints.emplace_back(address, FPort);
            }
        }
        if (!failure.empty() || endpoints.empty()) {
            Finish(failure.empty() ? "No address" : failure);
            return;
        }
        asio::async_connect(FSocket, endpoints,
                            [self = shared_from_this()](const asio::error_code& error, const auto&) {
                                self->Connected(error);
                            });
    }

    void Connected(const asio::error_code& error) {
        if (error) {
            Finish(error.message());
            return;
        }
        // Command lines are short and go out one after the other; do not hold them back.
        asio::error_code ignored;
        FSocket.set_option(asio::ip::tcp::no_delay(true), ignored);
        FTimer.cancel();
        if (FDone) {
            std::exchange(FDone, nullptr)(
                std::make_unique<TAsioConnection<asio::ip::tcp::socket>>(std::move(FSocket)), {});
        }
    }

    void Finish(const std::string& reason) {
        asio::error_code ignored;
        FSocket.close(ignored);
        FTimer.cancel();
        if (FDone) {
            std::exchange(FDone, nullptr)(nullptr,
                                          SprintF("Could not connect to %s:%d: %s", FHost, FPort, reason));
        }
    }

    const std::string FHost;
    const std::uint16_t FPort;
    TOpened FDone;
    asio::ip::tcp::socket FSocket;
    asio::steady_timer FTimer;
};

} // namespace

std::vector<std::string> ResolveHostName(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), nullptr, &hints, &found); error != 0) {
        throw EVorlixError(::gai_strerror(error));
    }
    std::vector<std::string> addresses;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char text[NI_MAXHOST];
        if (::getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0, NI_NUMERICHOST) ==
            0) {
            addresses.emplace_back(text);
        }
    }
    ::freeaddrinfo(found);
    return addresses;
}

void ConnectTcp(asio::io_context& io, const TLinkPost& post, const TNameResolver& resolve,
                const std::string& host, std::uint16_t port, TOpened done) {
    std::make_shared<TTcpAttempt>(io, host, port, std::move(done))->Start(post, resolve);
}

TTcpConnectionFactory TcpConnector(TNameResolver resolve) {
    return [resolve = std::move(resolve)](asio::io_context& io, const TLinkPost& post,
                                          const std::string& host, std::uint16_t port, TOpened done) {
        ConnectTcp(io, post, resolve, host, port, std::move(done));
    };
}
