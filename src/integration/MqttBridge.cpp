#include "integration/MqttBridge.h"

#include "config/JsonText.h"
#include "platform/SprintF.h"

#include <vector>

namespace {

using json = nlohmann::ordered_json;

// The one name in `documents` that `level` stands for in a topic; the level itself when no name
// fits, so that the session refuses it as unknown; nothing when several fit.
std::optional<std::string> NameFor(const json& documents, const std::string& level) {
    std::vector<std::string> fitting;
    for (const json& document : documents) {
        const std::string name = document.value("name", "");
        if (TopicLevel(name) == level) {
            fitting.push_back(name);
        }
    }
    if (fitting.size() > 1) {
        return std::nullopt;
    }
    return fitting.empty() ? level : fitting.front();
}

} // namespace

TMqttBridge::TMqttBridge(const TMqttOptions& options, TWorkQueue& work, TMqttSessionPort port,
                         TDLogMessage log)
    : FTopics(options.Prefix), FPublishAll(options.PublishAll), FWork(work), FPort(std::move(port)),
      FLog(std::move(log)),
      FLink(
          options, {FTopics.AnySourceSet(), FTopics.AnyDisplayNotify()},
          [this](const std::string& topic, std::string payload) { Received(topic, std::move(payload)); },
          FLog) {}

void TMqttBridge::Received(const std::string& topic, std::string payload) {
    if (payload.size() > MaxPayloadBytes) {
        Reject(topic, SprintF("The message is larger than %d KiB", static_cast<int>(MaxPayloadBytes / 1024)));
        return;
    }
    if (!FWork.Post([this, topic, payload = std::move(payload)] { Carry(topic, payload); })) {
        Reject(topic, "The program is too busy to take the message");
    }
}

void TMqttBridge::Carry(const std::string& topic, const std::string& payload) {
    const TMqttTopics::TRequest request = FTopics.Request(topic);
    const bool toSource = request.Kind == TMqttTopics::TRequest::SetSource;
    if (request.Kind == TMqttTopics::TRequest::None) {
        return;
    }
    const std::optional<std::string> name =
        NameFor(toSource ? FPort.Sources() : FPort.Displays(), request.Level);
    if (!name) {
        Reject(topic, SprintF("The name \"%s\" in the topic fits more than one %s", request.Level,
                              toSource ? "source" : "display"));
        return;
    }
    const std::string refusal = toSource ? FPort.SetSource(*name, payload) : FPort.Notify(*name, payload);
    if (!refusal.empty()) {
        Reject(topic, refusal);
    }
}

void TMqttBridge::Reject(const std::string& topic, const std::string& reason) {
    if (FLog) {
        FLog("MQTT", SprintF("Rejected the message on %s: %s", topic, reason));
    }
    FLink.Publish({FTopics.Errors(), JsonText(json{{"topic", topic}, {"error", reason}}), false});
}

bool TMqttBridge::Public(const json& source) const {
    return FPublishAll || source.value("kind", 0) == RestSourceKind || source.value("public", false);
}

void TMqttBridge::PublishChanges() {
    for (const json& display : FPort.Displays()) {
        PublishIfChanged(FTopics.DisplayState(display.value("name", "")), display);
    }
    for (const json& source : FPort.Sources()) {
        if (Public(source)) {
            PublishIfChanged(FTopics.SourceValue(source.value("name", "")),
                             {{"lines", source.value("lines", json::array())},
                              {"changed", source.value("changed", json(nullptr))}});
        }
    }
}

void TMqttBridge::PublishIfChanged(const std::string& topic, const json& document) {
    std::string payload = JsonText(document);
    std::string& published = FPublished[topic];
    if (published != payload) {
        published = payload;
        FLink.Publish({topic, std::move(payload), true});
    }
}
