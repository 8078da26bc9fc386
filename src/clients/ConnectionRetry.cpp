#include "clients/ConnectionRetry.h"

#include "platform/Clock.h"

#include <algorithm>

namespace {

std::int64_t NowMsec() {
    return DateTimeToMSecs(Now());
}

} // namespace

std::int64_t TConnectionRetry::MsecUntilAttempt() const {
    return std::max<std::int64_t>(FNextAttemptMsec - NowMsec(), 0);
}

bool TConnectionRetry::Failed(const std::string& message) {
    FWaitMsec = FWaitMsec == 0 ? FirstWaitMsec : std::min(2 * FWaitMsec, LongestWaitMsec);
    FNextAttemptMsec = NowMsec() + FWaitMsec;
    FFailedSinceSuccess = true;
    const bool worthLogging = message != FLoggedFailure;
    FLoggedFailure = message;
    return worthLogging;
}

bool TConnectionRetry::Succeeded() {
    const bool recovered = FFailedSinceSuccess;
    Reset();
    FFailedSinceSuccess = false;
    return recovered;
}

void TConnectionRetry::Reset() {
    FWaitMsec = 0;
    FNextAttemptMsec = 0;
    FLoggedFailure.clear();
}
