#include "FileOpenings.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdint>
#include <exception>
#include <stdexcept>

TFileOpenings::TFileOpenings(const std::filesystem::path& file) {
    FNotify = inotify_init1(IN_CLOEXEC);
    FStopEvent = eventfd(0, EFD_CLOEXEC);
    if (FNotify < 0 || FStopEvent < 0 || inotify_add_watch(FNotify, file.c_str(), IN_OPEN) < 0) {
        close(FNotify);
        close(FStopEvent);
        throw std::runtime_error("cannot watch " + file.string());
    }
    FWatcher = std::thread([this] { Watch(); });
}

TFileOpenings::~TFileOpenings() {
    const std::uint64_t stop = 1;
    if (write(FStopEvent, &stop, sizeof(stop)) != sizeof(stop)) {
        std::terminate();
    }
    FWatcher.join();
    close(FNotify);
    close(FStopEvent);
}

std::vector<std::chrono::steady_clock::time_point> TFileOpenings::Times() const {
    std::lock_guard lock(FLock);
    return FTimes;
}

void TFileOpenings::Watch() {
    for (;;) {
        pollfd watched[] = {{FStopEvent, POLLIN, 0}, {FNotify, POLLIN, 0}};
        if (poll(watched, 2, -1) < 0) {
            continue;
        }
        if (watched[0].revents != 0) {
            return;
        }
        alignas(inotify_event) char events[4096];
        const ssize_t length = read(FNotify, events, sizeof(events));
        const auto now = std::chrono::steady_clock::now();
        std::lock_guard lock(FLock);
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + offset);
            if ((event->mask & IN_OPEN) != 0) {
                FTimes.push_back(now);
            }
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}
