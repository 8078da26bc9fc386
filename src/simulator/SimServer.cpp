#include "simulator/SimServer.h"

#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <list>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int ListenBacklog = 8;
constexpr std::size_t ReadChunk = 4096;
constexpr auto AcceptPause = std::chrono::milliseconds(200);

std::string SystemReason() {
    return std::strerror(errno);
}

std::uint16_t BoundPort(int fd) {
    sockaddr_storage address{};
    socklen_t length = sizeof(address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    if (address.ss_family == AF_INET6) {
        return ntohs(reinterpret_cast<const sockaddr_in6*>(&address)->sin6_port);
    }
    return ntohs(reinterpret_cast<const sockaddr_in*>(&address)->sin_port);
}

// What poll waits for `until`: at once when it has passed, for ever when there is none.
int PollTimeoutUntil(const std::optional<std::chrono::steady_clock::time_point>& until) {
    if (!until) {
        return -1;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*until - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::int64_t>(left.count(), 0));
}

} // namespace

void ReportOnStandardError(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
}

TSimServer::TSimServer(TSimDisplay& display, const TSimServerOptions& options, TSimServerReport report)
    : FDisplay(display), FReport(std::move(report)) {
    Listen(options);
    if (options.Pty) {
        OpenPty();
    }
    int wake[2];
    if (pipe2(wake, O_CLOEXEC) != 0) {
        throw EVorlixError("Cannot start the virtual display: " + SystemReason());
    }
    FWakeRead = TFileDescriptor(wake[0]);
    FWakeWrite = TFileDescriptor(wake[1]);
    FThread = std::thread([this] { Run(); });
}

TSimServer::~TSimServer() {
    const char stop = 0;
    while (write(FWakeWrite.Fd(), &stop, 1) < 0 && errno == EINTR) {
    }
    FThread.join();
}

void TSimServer::Listen(const TSimServerOptions& options) {
    const std::string where = SprintF("%s:%d", options.Bind, options.Port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (const int error =
            getaddrinfo(options.Bind.c_str(), std::to_string(options.Port).c_str(), &hints, &found);
        error != 0) {
        throw EVorlixError(SprintF("Cannot listen on %s: %s", where, gai_strerror(error)));
    }
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> addresses(found, freeaddrinfo);
    FListener =
        TFileDescriptor(socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol));
    const int reuse = 1;
    if (FListener.Fd() < 0 ||
        setsockopt(FListener.Fd(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse)) != 0 ||
        bind(FListener.Fd(), found->ai_addr, found->ai_addrlen) != 0 ||
        listen(FListener.Fd(), ListenBacklog) != 0) {
        throw EVorlixError(SprintF("Cannot listen on %s: %s", where, SystemReason()));
    }
    FPort = BoundPort(FListener.Fd());
}

void TSimServer::OpenPty() {
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        throw EVorlixError("Cannot open a pseudo-terminal: " + SystemReason());
    }
    FPtyMaster = TFileDescriptor(master);
    FPtySlave = TFileDescriptor(slave);
    // Raw bytes both ways: no echo, no CR to LF translation.
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave, TCSANOW, &settings);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    // Answers nobody reads must not stall the server.
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    char name[256] = {};
    if (ttyname_r(slave, name, sizeof(name)) != 0) {
        throw EVorlixError("Cannot open a pseudo-terminal: " + SystemReason());
    }
    FPtyPath = name;
}

void TSimServer::Run() {
    struct TPeer {
        TFileDescriptor Fd;
        TSimLineReader Reader;
    };
    std::list<TPeer> peers;
    TSimLineReader ptyReader;
    std::vector<pollfd> watched;
    while (true) {
        if (FAcceptResumes && *FAcceptResumes <= std::chrono::steady_clock::now()) {
            FAcceptResumes.reset();
        }
        watched.assign({{FWakeRead.Fd(), POLLIN, 0},
                        {FAcceptResumes ? -1 : FListener.Fd(), POLLIN, 0},
                        {FPtyMaster.Fd(), POLLIN, 0}});
        for (const TPeer& peer : peers) {
            watched.push_back({peer.Fd.Fd(), POLLIN, 0});
        }
        if (poll(watched.data(), watched.size(), PollTimeoutUntil(FAcceptResumes)) < 0) {
            continue; // EINTR
        }
        if (watched[0].revents != 0) {
            return;
        }
        if ((watched[1].revents & POLLIN) != 0) {
            if (TFileDescriptor peer = Accept(); peer.Fd() >= 0) {
                peers.push_back({std::move(peer), {}});
            }
        }
        if (watched[2].revents != 0 && !Serve(FPtyMaster.Fd(), ptyReader, false)) {
            FPtyMaster = TFileDescriptor(); // broken beyond use; the TCP side goes on
        }
        auto peer = peers.begin();
        for (std::size_t i = 3; i < watched.size(); ++i) {
            const bool gone = watched[i].revents != 0 && !Serve(peer->Fd.Fd(), peer->Reader, true);
            if (gone) {
                FAcceptResumes.reset(); // its descriptor is free for a waiting connection
            }
            peer = gone ? peers.erase(peer) : std::next(peer);
        }
    }
}

// A connection that cannot be taken for want of descriptors stays queued and keeps the listener
// readable, so asking again at once would spin: the listener rests for a while, or until a peer
// goes, and the trouble is reported once until a connection is taken again.
TFileDescriptor TSimServer::Accept() {
    TFileDescriptor peer(accept4(FListener.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
    if (peer.Fd() >= 0) {
        FAcceptFailing = false;
        return peer;
    }
    if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == ECONNABORTED) {
        return peer;
    }
    if (!FAcceptFailing) {
        FReport(SprintF("Cannot accept a connection on port %d: %s; trying again every %d ms", FPort,
                        SystemReason(), AcceptPause.count()));
        FAcceptFailing = true;
    }
    FAcceptResumes = std::chrono::steady_clock::now() + AcceptPause;
    return peer;
}

bool TSimServer::Serve(int fd, TSimLineReader& reader, bool isSocket) {
    char buffer[ReadChunk];
    const ssize_t count = read(fd, buffer, sizeof(buffer));
    if (count <= 0) {
        return count < 0 && (errno == EINTR || errno == EAGAIN);
    }
    std::string reply;
    for (const std::string& line : reader.Feed(std::string_view(buffer, static_cast<std::size_t>(count)))) {
        reply += FDisplay.Execute(line);
    }
    if (!reply.empty()) {
        // A peer that does not read its answers loses them rather than stalling the display.
        [[maybe_unused]] const ssize_t sent =
            isSocket ? send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT)
                     : write(fd, reply.data(), reply.size());
    }
    return true;
}
