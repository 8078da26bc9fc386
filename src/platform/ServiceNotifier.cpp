#include "platform/ServiceNotifier.h"

#include <systemd/sd-daemon.h>

#include <cstdint>

namespace {

// A failed notification changes nothing for the program: systemd acts on the missing message.
void Notify(const char* state) {
    (void)sd_notify(0, state);
}

} // namespace

TServiceNotifier::TServiceNotifier() {
    std::uint64_t watchdog = 0;
    if (sd_watchdog_enabled(0, &watchdog) > 0) {
        FPingInterval = std::chrono::microseconds(watchdog / 2);
    }
}

void TServiceNotifier::Ready() const {
    Notify("READY=1");
}

void TServiceNotifier::Stopping() const {
    Notify("STOPPING=1");
}

void TServiceNotifier::Alive(TClock::time_point now) {
    if (FPingInterval.count() > 0 && now - FLastPing >= FPingInterval) {
        FLastPing = now;
        Notify("WATCHDOG=1");
    }
}
