#pragma once

#include "integration/MqttTopics.h"
#include "integration/Outcome.h"
#include "integration/SessionOperations.h"

#include <string>

// What a message from the broker asks of the session: on <prefix>/sources/<name>/set a text
// whose lines become the value, or the JSON body of the HTTP PUT; on
// <prefix>/displays/<name>/notify the JSON body of the HTTP notify. Both are carried out by the
// HTTP API's operations, so that they follow its rules. Runs on the thread that drives the session.
class TMqttRequests {
public:
    TMqttRequests(const TMqttTopics& topics, TSessionOperations& operations)
        : FTopics(topics), FOperations(operations) {}

    // Done or accepted, or the refusal with its reason; a topic that asks nothing is done.
    TOutcome Carry(const std::string& topic, const std::string& payload);

private:
    TOutcome SetSource(const std::string& level, const std::string& payload);
    TOutcome Notify(const std::string& level, const std::string& payload);

    const TMqttTopics& FTopics;
    TSessionOperations& FOperations;
};
