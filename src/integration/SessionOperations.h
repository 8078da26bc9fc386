#pragma once

#include "integration/Outcome.h"

#include <memory>
#include <string>
#include <vector>

class TConfigurationRow;
class TDisplaySession;

// What outside requests may do with a running session: set a source's value, interrupt a display
// with a notification, and read the sources' and displays' state as JSON documents. Runs on the
// thread that drives the session; other threads reach it through TSessionGateway.
class TSessionOperations {
public:
    explicit TSessionOperations(TDisplaySession& session) : FSession(session) {}

    // Every source, in record order.
    TOutcome Sources() const;
    TOutcome Source(const std::string& name) const;
    // A REST source takes the lines as its value at once; a static source that its record lets the
    // operator change takes them as its configuration, which is saved. Any other source refuses.
    TOutcome SetSourceValue(const std::string& name, const std::vector<std::string>& lines);

    // Every display, in record order.
    TOutcome Displays() const;
    // Shows the message on a running, connected display; refused by one that is paused or not
    // connected, busy while TRowSendCycle::MaxNotifications wait.
    TOutcome Notify(const std::string& displayName, std::unique_ptr<TConfigurationRow> message);

    // Per display and per source counters in the Prometheus text format.
    std::string Metrics() const;

private:
    TDisplaySession& FSession;
};
