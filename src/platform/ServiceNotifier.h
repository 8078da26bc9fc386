#pragma once

#include <chrono>

// Tells systemd how a service of Type=notify is doing: ready, alive (the watchdog) and stopping.
// Outside systemd, where no notification socket is given, it does nothing.
class TServiceNotifier {
public:
    using TClock = std::chrono::steady_clock;

    // Reads the watchdog interval that systemd asks for, if any.
    TServiceNotifier();

    void Ready() const;
    void Stopping() const;
    // For the tick loop: pings the watchdog once half its interval has passed since the last ping.
    void Alive(TClock::time_point now = TClock::now());

private:
    std::chrono::microseconds FPingInterval{0};
    TClock::time_point FLastPing;
};
