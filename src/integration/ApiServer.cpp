// The one file that uses cpp-httplib. It parses the requests and writes the answers; the
// connections are ours, so that a whole request has a deadline (not just each read), a stop
// ends every connection at once, and no more than MaxConnections are open.
#include "integration/ApiServer.h"

#include "integration/ApiRoutes.h"
#include "integration/PushRequests.h"
#include "platform/FileDescriptor.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using TTime = std::chrono::steady_clock::time_point;
constexpr auto RequestTime = std::chrono::seconds(TApiServer::RequestTimeSeconds);

// What the worker learns of the request it serves, to know whether the connection may carry
// another: a request that was not understood, or whose body was left unread, ends it.
struct TRequestContext {
    bool Routed = false;
    bool HasBody = false;
    bool BodyRead = false;
};
// Each worker serves one request at a time, from start to end, on its own thread.
thread_local TRequestContext* ServedRequest = nullptr;

std::string SocketAddressText(const sockaddr_storage& address, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    } else {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    }
    return text;
}

// One client's connection as httplib reads and writes it: reads fail once the request's deadline
// has passed, writes when the client takes no byte for RequestTime, and both when the server stops.
class TConnectionStream : public httplib::Stream {
public:
    TConnectionStream(int fd, int stopFd) : FFd(fd), FStopFd(stopFd) {}

    // Waits up to RequestTime for the first byte of the next request.
    bool WaitForRequest() { return FBegin < FEnd || Fill(std::chrono::steady_clock::now() + RequestTime); }
    void StartRequest() { FDeadline = std::chrono::steady_clock::now() + RequestTime; }
    bool Late() const { return std::chrono::steady_clock::now() >= FDeadline; }

    bool is_readable() const override { return FBegin < FEnd || WaitReady(POLLIN, FDeadline); }
    bool is_writable() const override {
        return WaitReady(POLLOUT, std::chrono::steady_clock::now() + RequestTime);
    }

    ssize_t read(char* ptr, size_t size) override {
        if (FBegin == FEnd && !Fill(FDeadline)) {
            return -1;
        }
        const std::size_t count = std::min(size, FEnd - FBegin);
        std::memcpy(ptr, FBuffer.data() + FBegin, count);
        FBegin += count;
        return static_cast<ssize_t>(count);
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (!is_writable()) {
            return -1;
        }
        return ::send(FFd, ptr, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip = getpeername(FFd, reinterpret_cast<sockaddr*>(&address), &length) == 0
                 ? SocketAddressText(address, port)
                 : std::string();
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage address{};
        socklen_t length = sizeof address;
        ip = getsockname(FFd, reinterpret_cast<sockaddr*>(&address), &length) == 0
                 ? SocketAddressText(address, port)
                 : std::string();
    }
    socket_t socket() const override { return FFd; }

private:
    bool Fill(TTime deadline) {
        if (!WaitReady(POLLIN, deadline)) {
            return false;
        }
        const ssize_t received = ::recv(FFd, FBuffer.data(), FBuffer.size(), MSG_DONTWAIT);
        FBegin = 0;
        FEnd = received > 0 ? static_cast<std::size_t>(received) : 0;
        return received > 0;
    }

    // Whether the socket is ready for `events` before the deadline and before a stop.
    bool WaitReady(short events, TTime deadline) const {
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                return false;
            }
            std::array<pollfd, 2> ready{{{FFd, events, 0}, {FStopFd, POLLIN, 0}}};
            const int count = ::poll(ready.data(), ready.size(), static_cast<int>(left.count()) + 1);
            if (count < 0 && errno == EINTR) {
                continue;
            }
            return count > 0 && ready[1].revents == 0 && ready[0].revents != 0;
        }
    }

    const int FFd;
    const int FStopFd;
    TTime FDeadline = std::chrono::steady_clock::now() + RequestTime;
    std::array<char, 4096> FBuffer{};
    std::size_t FBegin = 0;
    std::size_t FEnd = 0;
};

// httplib's request handling, one request at a time on a stream we hand it.
class THttpEngine : public httplib::Server {
public:
    bool ServeOne(httplib::Stream& stream, bool lastOnConnection, bool& closed) {
        return process_request(stream, lastOnConnection, closed, nullptr);
    }
};

void Write(httplib::Response& response, const TApiAnswer& answer) {
    response.status = answer.Status;
    response.set_content(answer.Body, answer.ContentType.c_str());
    if (!answer.Allow.empty()) {
        response.set_header("Allow", answer.Allow);
    }
}

std::string ReasonOf(int status) {
    switch (status) {
    case 413:
        return SprintF("The request is larger than %d bytes", static_cast<int>(MaxRequestBytes));
    case 414:
        return "The path is too long";
    default:
        return "The request is not understood";
    }
}

TFileDescriptor Listen(const TApiSettings& settings, std::uint16_t& port) {
    sockaddr_storage address{};
    socklen_t length = 0;
    auto& v4 = reinterpret_cast<sockaddr_in&>(address);
    auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
    if (inet_pton(AF_INET, settings.Address.c_str(), &v4.sin_addr) == 1) {
        v4.sin_family = AF_INET;
        v4.sin_port = htons(settings.Port);
        length = sizeof v4;
    } else if (inet_pton(AF_INET6, settings.Address.c_str(), &v6.sin6_addr) == 1) {
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(settings.Port);
        length = sizeof v6;
    }
    const auto fail = [&settings](const std::string& reason) {
        return EVorlixError(
            SprintF("Cannot listen on %s: %s", EndpointText(settings.Address, settings.Port), reason));
    };
    if (length == 0) {
        throw fail("not a numeric address");
    }
    TFileDescriptor listener(::socket(address.ss_family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int on = 1;
    if (listener.Fd() < 0 || setsockopt(listener.Fd(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        (address.ss_family == AF_INET6 &&
         setsockopt(listener.Fd(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
        bind(listener.Fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        listen(listener.Fd(), TApiServer::MaxConnections) != 0 ||
        getsockname(listener.Fd(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw fail(std::strerror(errno));
    }
    port = ntohs(address.ss_family == AF_INET6 ? v6.sin6_port : v4.sin_port);
    return listener;
}

} // namespace

std::vector<std::string> ApiPathSegments(const std::string& target) {
    const std::string path = target.substr(0, target.find('?'));
    std::vector<std::string> segments;
    if (!path.starts_with('/')) {
        return segments;
    }
    for (std::size_t start = 1;;) {
        const std::size_t end = path.find('/', start);
        segments.push_back(httplib::detail::decode_url(path.substr(start, end - start), false));
        if (end == std::string::npos) {
            return segments;
        }
        start = end + 1;
    }
}

class TApiServer::TImpl {
public:
    TImpl(const TApiSettings& settings, const TSessionGateway& gateway)
        : FAddress(settings.Address), FRoutes(gateway, settings.Token), FListener(Listen(settings, FPort)),
          FStop(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
        if (FStop.Fd() < 0) {
            throw EVorlixError(SprintF("Cannot start the API: %s", std::strerror(errno)));
        }
        SetUpEngine();
        for (int i = 0; i < MaxConnections; ++i) {
            FWorkers.emplace_back([this] { Work(); });
        }
    }

    ~TImpl() {
        const std::uint64_t one = 1;
        // The counter stays readable, so every worker sees it, in whatever wait it is.
        [[maybe_unused]] const ssize_t written = ::write(FStop.Fd(), &one, sizeof one);
        for (std::thread& worker : FWorkers) {
            worker.join();
        }
    }

    std::uint16_t Port() const { return FPort; }
    const std::string& Address() const { return FAddress; }

private:
    void SetUpEngine() {
        FEngine.set_payload_max_length(MaxRequestBytes);
        FEngine.set_keep_alive_max_count(RequestsPerConnection);
        FEngine.set_keep_alive_timeout(RequestTimeSeconds);
        FEngine.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
            ServedRequest->Routed = true;
            const auto length = request.get_header_value<std::uint64_t>("Content-Length");
            ServedRequest->HasBody = length > 0 || request.has_header("Transfer-Encoding");
            if (!FRoutes.Authorized(request.get_header_value("Authorization"))) {
                Write(response, TApiRoutes::Error(401, "A valid bearer token is needed"));
                response.set_header("WWW-Authenticate", "Bearer");
                return httplib::Server::HandlerResponse::Handled;
            }
            if (length > MaxRequestBytes) {
                Write(response, TApiRoutes::Error(413, ReasonOf(413)));
                return httplib::Server::HandlerResponse::Handled;
            }
            return httplib::Server::HandlerResponse::Unhandled;
        });
        const auto answer = [this](const httplib::Request& request, httplib::Response& response) {
            // httplib has read the body of these methods before calling.
            ServedRequest->BodyRead =
                request.method == "PUT" || request.method == "POST" || request.method == "PATCH";
            Write(response, FRoutes.Answer({request.method, ApiPathSegments(request.target), request.body}));
        };
        const std::string anyPath = "[\\s\\S]*";
        FEngine.Get(anyPath, answer);
        FEngine.Put(anyPath, answer);
        FEngine.Post(anyPath, answer);
        FEngine.Patch(anyPath, answer);
        FEngine.Delete(anyPath, answer);
        FEngine.Options(anyPath, answer);
        // httplib's own refusals (a malformed request, a body too large) get our kind of body.
        FEngine.set_error_handler([](const httplib::Request&, httplib::Response& response) {
            if (response.body.empty()) {
                Write(response, TApiRoutes::Error(response.status, ReasonOf(response.status)));
            }
        });
        FEngine.set_exception_handler(
            [](const httplib::Request&, httplib::Response& response, std::exception_ptr) {
                Write(response, TApiRoutes::Error(500, "The request failed inside the program"));
            });
    }

    void Work() {
        for (;;) {
            std::array<pollfd, 2> ready{{{FListener.Fd(), POLLIN, 0}, {FStop.Fd(), POLLIN, 0}}};
            if (::poll(ready.data(), ready.size(), -1) < 0 && errno != EINTR) {
                return;
            }
            if (ready[1].revents != 0) {
                return;
            }
            if (ready[0].revents == 0) {
                continue;
            }
            // Another worker may have taken the connection first; the listener does not block.
            TFileDescriptor connection(::accept4(FListener.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
            if (connection.Fd() >= 0) {
                const int on = 1;
                setsockopt(connection.Fd(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                Serve(connection.Fd());
            } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ECONNABORTED && errno != EINTR) {
                // Out of descriptors or memory: wait a little instead of spinning.
                std::array<pollfd, 1> stop{{{FStop.Fd(), POLLIN, 0}}};
                ::poll(stop.data(), stop.size(), 100);
            }
        }
    }

    void Serve(int fd) {
        TConnectionStream stream(fd, FStop.Fd());
        for (int served = 0; served < RequestsPerConnection && stream.WaitForRequest(); ++served) {
            stream.StartRequest();
            TRequestContext context;
            ServedRequest = &context;
            bool closed = false;
            const bool written = FEngine.ServeOne(stream, served + 1 == RequestsPerConnection, closed);
            ServedRequest = nullptr;
            if (!written || closed || stream.Late() || !context.Routed ||
                (context.HasBody && !context.BodyRead)) {
                return;
            }
        }
    }

    const std::string FAddress;
    std::uint16_t FPort = 0;
    const TApiRoutes FRoutes;
    TFileDescriptor FListener;
    TFileDescriptor FStop;
    THttpEngine FEngine;
    std::vector<std::thread> FWorkers;
};

TApiServer::TApiServer(const TApiSettings& settings, const TSessionGateway& gateway)
    : FImpl(std::make_unique<TImpl>(settings, gateway)) {}

TApiServer::~TApiServer() = default;

std::uint16_t TApiServer::Port() const {
    return FImpl->Port();
}

std::string TApiServer::ListeningMessage() const {
    return "API listening on " + EndpointText(FImpl->Address(), FImpl->Port());
}
