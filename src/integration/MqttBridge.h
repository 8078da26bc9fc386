#pragma once

#include "integration/MqttLink.h"
#include "integration/MqttOptions.h"
#include "integration/MqttTopics.h"
#include "log/DLogObject.h"
#include "rows/WorkQueue.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <map>
#include <string>

// The session as the bridge sees it: the operations that outside requests may do, and the
// documents that describe the displays and sources, as the HTTP API has them. Called on the
// thread that drives the session only.
struct TMqttSessionPort {
    // Each answers why it refused, or nothing when done. `payload` is a text whose lines become
    // the value, or the JSON body of a PUT of the source.
    std::function<std::string(const std::string& source, const std::string& payload)> SetSource;
    // `body` is the JSON body of a notification.
    std::function<std::string(const std::string& display, const std::string& body)> Notify;
    // JSON arrays: one document per display, and per source, with at least "name" (and "kind",
    // "public", "lines", "changed" for a source).
    std::function<nlohmann::ordered_json()> Displays;
    std::function<nlohmann::ordered_json()> Sources;
};

// Carries the session to and from an MQTT broker. What arrives on <prefix>/sources/<name>/set and
// <prefix>/displays/<name>/notify is handed to the session's work queue and carried out there
// through the port; a message that cannot be is logged, with its topic and the reason, and
// reported on <prefix>/errors. After every tick the bridge publishes, retained, each display's
// document on <prefix>/displays/<name>/state and each public value on
// <prefix>/sources/<name>/value, whenever they changed. Public are the values of REST sources
// (kind 3) and of sources whose record lets the user change them; all with PublishAll.
class TMqttBridge {
public:
    static constexpr std::size_t MaxPayloadBytes = 64 * 1024;
    static constexpr int RestSourceKind = 3;

    // Connects at once (see TMqttLink). `log` receives lines from any thread.
    TMqttBridge(const TMqttOptions& options, TWorkQueue& work, TMqttSessionPort port, TDLogMessage log);

    // On the driving thread, after each tick.
    void PublishChanges();
    bool Connected() const { return FLink.Connected(); }

private:
    // On the link's thread.
    void Received(const std::string& topic, std::string payload);
    // On the driving thread.
    void Carry(const std::string& topic, const std::string& payload);
    void Reject(const std::string& topic, const std::string& reason);
    void PublishIfChanged(const std::string& topic, const nlohmann::ordered_json& document);
    bool Public(const nlohmann::ordered_json& source) const;

    const TMqttTopics FTopics;
    const bool FPublishAll;
    TWorkQueue& FWork;
    const TMqttSessionPort FPort;
    const TDLogMessage FLog;
    // What each state and value topic was given last; the driving thread's.
    std::map<std::string, std::string> FPublished;
    // Last: its thread calls back into the members above.
    TMqttLink FLink;
};
