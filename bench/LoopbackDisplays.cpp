#include "LoopbackDisplays.h"

#include "support/LoopbackSocket.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <exception>
#include <string_view>

TLoopbackDisplays::TLoopbackDisplays(std::size_t count) : FDisplays(count) {
    FStopEvent = eventfd(0, EFD_CLOEXEC);
    for (TDisplay& display : FDisplays) {
        display.Listener = ListenOnLoopback(display.Port, 16);
    }
    FReader = std::thread([this] { Serve(); });
}

TLoopbackDisplays::~TLoopbackDisplays() {
    const std::uint64_t stop = 1;
    if (write(FStopEvent, &stop, sizeof(stop)) != sizeof(stop)) {
        std::terminate();
    }
    FReader.join();
    for (const TDisplay& display : FDisplays) {
        for (const int peer : display.Peers) {
            close(peer);
        }
        close(display.Listener);
    }
    close(FStopEvent);
}

std::string TLoopbackDisplays::Address(std::size_t display) const {
    return "127.0.0.1:" + std::to_string(Port(display));
}

void TLoopbackDisplays::Serve() {
    for (;;) {
        // Which display each watched descriptor belongs to; the peer lists change only here.
        std::vector<pollfd> watched{{FStopEvent, POLLIN, 0}};
        std::vector<TDisplay*> owners{nullptr};
        for (TDisplay& display : FDisplays) {
            watched.push_back({display.Listener, POLLIN, 0});
            owners.push_back(&display);
            for (const int peer : display.Peers) {
                watched.push_back({peer, POLLIN, 0});
                owners.push_back(&display);
            }
        }
        if (poll(watched.data(), watched.size(), -1) < 0) {
            continue;
        }
        if (watched[0].revents != 0) {
            return;
        }
        for (std::size_t i = 1; i < watched.size(); ++i) {
            if (watched[i].revents == 0) {
                continue;
            }
            if (watched[i].fd == owners[i]->Listener) {
                Accept(*owners[i]);
            } else {
                Receive(*owners[i], watched[i].fd);
            }
        }
    }
}

void TLoopbackDisplays::Accept(TDisplay& display) {
    const int peer = accept4(display.Listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (peer >= 0) {
        display.Peers.push_back(peer);
    }
}

void TLoopbackDisplays::Receive(TDisplay& display, int peer) {
    char buffer[65536];
    const ssize_t count = recv(peer, buffer, sizeof(buffer), 0);
    if (count <= 0) {
        close(peer);
        display.Peers.erase(std::find(display.Peers.begin(), display.Peers.end(), peer));
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    {
        std::lock_guard lock(FLock);
        display.Received.append(buffer, static_cast<std::size_t>(count));
        display.Arrivals.emplace_back(display.Received.size(), now);
    }
    FArrived.notify_all();
}

bool TLoopbackDisplays::WaitFor(std::size_t display, const std::function<bool(const std::string&)>& done,
                                std::chrono::milliseconds wait) const {
    std::unique_lock lock(FLock);
    return FArrived.wait_for(lock, wait, [&] { return done(FDisplays[display].Received); });
}

bool TLoopbackDisplays::WaitForAny(const std::function<bool(std::size_t, const std::string&)>& done,
                                   std::chrono::milliseconds wait) const {
    std::unique_lock lock(FLock);
    return FArrived.wait_for(lock, wait, [&] {
        for (std::size_t display = 0; display < FDisplays.size(); ++display) {
            if (done(display, FDisplays[display].Received)) {
                return true;
            }
        }
        return false;
    });
}

std::size_t TLoopbackDisplays::ByteCount(std::size_t display) const {
    std::lock_guard lock(FLock);
    return FDisplays[display].Received.size();
}

std::string TLoopbackDisplays::Received(std::size_t display) const {
    std::lock_guard lock(FLock);
    return FDisplays[display].Received;
}

std::vector<std::chrono::steady_clock::time_point>
TLoopbackDisplays::LineArrivals(std::size_t display, const std::string& marker) const {
    std::lock_guard lock(FLock);
    const TDisplay& shown = FDisplays[display];
    std::vector<std::chrono::steady_clock::time_point> arrivals;
    for (std::size_t start = 0, end = shown.Received.find("\r\n"); end != std::string::npos;
         start = end + 2, end = shown.Received.find("\r\n", start)) {
        if (std::string_view(shown.Received).substr(start, end - start).find(marker) !=
            std::string_view::npos) {
            const std::size_t whole = end + 2;
            const auto piece = std::lower_bound(
                shown.Arrivals.begin(), shown.Arrivals.end(), whole,
                [](const auto& arrival, std::size_t bytes) { return arrival.first < bytes; });
            arrivals.push_back(piece->second);
        }
    }
    return arrivals;
}
