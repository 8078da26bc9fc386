#pragma once

#include "integration/MqttLink.h"
#include "integration/MqttOptions.h"
#include "integration/MqttRequests.h"
#include "integration/MqttTopics.h"
#include "integration/SessionOperations.h"

#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <string>

class TDisplaySession;
class TWorkQueue;

// Carries a running session to and from an MQTT broker. What arrives on
// <prefix>/sources/<name>/set and <prefix>/displays/<name>/notify is handed to the session's work
// queue and carried out there (TMqttRequests); a message that cannot be is logged, with its topic
// and the reason, and reported on <prefix>/errors. After every tick the bridge publishes, retained
// and when they changed, each display's document on <prefix>/displays/<name>/state and each
// public source's value on <prefix>/sources/<name>/value; the retained state of one that is no
// longer there is removed.
// Public are REST sources (kind 3) and sources whose record lets the user change them; with
// PublishAll every source is.
//
// Lives as long as the driver runs the session's work: what it posts calls back into it.
class TMqttBridge {
public:
    // Connects at once (see TMqttLink), logs to the session's log, and publishes after each of the
    // session's ticks. Made and destroyed on the driving thread.
    TMqttBridge(const TMqttOptions& options, TDisplaySession& session);
    ~TMqttBridge();
    TMqttBridge(const TMqttBridge&) = delete;
    TMqttBridge& operator=(const TMqttBridge&) = delete;

    bool Connected() const { return FLink.Connected(); }

private:
    // On the link's thread.
    void Received(const std::string& topic, std::string payload);
    // On the driving thread.
    void Carry(const std::string& topic, const std::string& payload);
    void Reject(const std::string& topic, const std::string& reason);
    void PublishChanges();
    // Publishes unless `topic` is among those `taken` in this round already, and adds it.
    void PublishIfChanged(const std::string& topic, const nlohmann::ordered_json& document,
                          std::set<std::string>& taken);
    bool Public(const nlohmann::ordered_json& source) const;

    const TMqttTopics FTopics;
    const bool FPublishAll;
    TWorkQueue& FWork;
    TSessionOperations FOperations;
    TMqttRequests FRequests;
    TDisplaySession& FSession;
    // What each state and value topic was given last; the driving thread's.
    std::map<std::string, std::string> FPublished;
    // Last: its thread calls back into the members above.
    TMqttLink FLink;
};
