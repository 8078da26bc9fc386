#include "integration/MqttBackoff.h"

#include <algorithm>

bool TMqttBackoff::Failed(const std::string& reason, TTime now) {
    FWait = FWait.count() == 0 ? FirstWait : std::min(2 * FWait, LongestWait);
    FNextAttempt = now + FWait;
    const bool worthLogging = reason != FLoggedReason;
    FLoggedReason = reason;
    return worthLogging;
}

void TMqttBackoff::Connected() {
    FWait = std::chrono::milliseconds(0);
    FNextAttempt = {};
    FLoggedReason.clear();
}
