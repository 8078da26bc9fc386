#pragma once

#include "integration/Outcome.h"
#include "integration/SessionOperations.h"

#include <chrono>
#include <functional>

class TDisplaySession;

// The door from any thread to a running session: an operation is posted to the session's work
// queue, and the caller waits a bounded time for the driver to run it.
class TSessionGateway {
public:
    using TOperation = std::function<TOutcome(TSessionOperations& operations)>;

    explicit TSessionGateway(TDisplaySession& session,
                             std::chrono::milliseconds answerWithin = std::chrono::seconds(2));

    // The operation's outcome; Unavailable when the work queue is full or the driver has not run it
    // within the wait (it may still run later). A failure inside it comes back as Failed.
    TOutcome Call(TOperation operation) const;

private:
    TDisplaySession& FSession;
    const std::chrono::milliseconds FAnswerWithin;
};
