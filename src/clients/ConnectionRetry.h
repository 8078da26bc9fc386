#pragma once

#include <cstdint>
#include <string>

// Paces the attempts to reach a display that keeps failing, and tells which failures deserve a
// log line. After the first failure the next attempt waits 50 ms, each further failure doubles
// the wait, up to 2 s. A failure is worth logging when it begins a run of failures or its text
// differs from the one logged last; one line per 50 ms attempt would push everything else out of
// the log. Times come from the program's clock.
class TConnectionRetry {
public:
    static constexpr std::int64_t FirstWaitMsec = 50;
    static constexpr std::int64_t LongestWaitMsec = 2000;

    // Milliseconds until the next attempt is due; 0 when it is.
    std::int64_t MsecUntilAttempt() const;
    // Records a failed attempt; true when `message` should be logged.
    bool Failed(const std::string& message);
    // Records a successful attempt; true when failures came before it.
    bool Succeeded();
    // Starts afresh after a settings change or a start: the next attempt is due at once, and its
    // failure is logged again.
    void Reset();

private:
    std::int64_t FWaitMsec = 0;
    std::int64_t FNextAttemptMsec = 0;
    std::string FLoggedFailure;
    bool FFailedSinceSuccess = false;
};
