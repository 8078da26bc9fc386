#include "integration/SessionGateway.h"

#include "rows/DisplaySession.h"

#include <exception>
#include <future>
#include <memory>

TSessionGateway::TSessionGateway(TDisplaySession& session, std::chrono::milliseconds answerWithin)
    : FSession(session), FAnswerWithin(answerWithin) {}

TOutcome TSessionGateway::Call(TOperation operation) const {
    // Shared, so that a late run still has somewhere to put its outcome after the caller gave up.
    auto promise = std::make_shared<std::promise<TOutcome>>();
    std::future<TOutcome> outcome = promise->get_future();
    const bool posted =
        FSession.Work().Post([promise, operation = std::move(operation), &session = FSession] {
            TSessionOperations operations(session);
            try {
                promise->set_value(operation(operations));
            } catch (const std::exception& failure) {
                promise->set_value(TOutcome::Refusal(TOutcome::Failed, failure.what()));
            }
        });
    if (!posted) {
        return TOutcome::Refusal(TOutcome::Unavailable, "The program has too much work waiting");
    }
    if (outcome.wait_for(FAnswerWithin) != std::future_status::ready) {
        return TOutcome::Refusal(TOutcome::Unavailable, "The program did not answer in time");
    }
    return outcome.get();
}
