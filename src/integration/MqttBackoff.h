#pragma once

#include <chrono>
#include <string>

// Paces the attempts to reach a broker that keeps failing, and tells which failures deserve a log
// line. The first retry waits 1 s, each further failure doubles the wait, up to 60 s. A failure is
// worth logging when its text differs from the one logged last, so that a broker refusing the
// password gives one line, not one per attempt. A successful connection starts afresh.
class TMqttBackoff {
public:
    using TTime = std::chrono::steady_clock::time_point;

    static constexpr std::chrono::milliseconds FirstWait{1000};
    static constexpr std::chrono::milliseconds LongestWait{60000};

    TTime NextAttempt() const { return FNextAttempt; }
    // Records a failure at `now`; true when `reason` should be logged.
    bool Failed(const std::string& reason, TTime now);
    void Connected();

private:
    std::chrono::milliseconds FWait{0};
    TTime FNextAttempt{};
    std::string FLoggedReason;
};
