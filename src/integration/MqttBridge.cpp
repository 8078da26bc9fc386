#include "integration/MqttBridge.h"

#include "config/JsonText.h"
#include "datasources/DisplayDataSourceType.h"
#include "integration/PushRequests.h"
#include "platform/SprintF.h"
#include "rows/DisplaySession.h"

#include <set>

using json = nlohmann::ordered_json;

TMqttBridge::TMqttBridge(const TMqttOptions& options, TDisplaySession& session)
    : FTopics(options.Prefix), FPublishAll(options.PublishAll), FWork(session.Work()), FOperations(session),
      FRequests(FTopics, FOperations), FSession(session),
      FLink(
          options, {FTopics.AnySourceSet(), FTopics.AnyDisplayNotify()},
          [this](const std::string& topic, std::string payload) { Received(topic, std::move(payload)); },
          [this](const std::string& source, const std::string& message) { FSession.Log(source, message); }) {
    FSession.SetOnTicked([this] { PublishChanges(); });
}

TMqttBridge::~TMqttBridge() {
    FSession.SetOnTicked({});
}

void TMqttBridge::Received(const std::string& topic, std::string payload) {
    if (payload.size() > MaxRequestBytes) {
        Reject(topic, SprintF("The message is larger than %d KiB", static_cast<int>(MaxRequestBytes / 1024)));
        return;
    }
    if (!FWork.Post([this, topic, payload = std::move(payload)] { Carry(topic, payload); })) {
        Reject(topic, "The program is too busy to take the message");
    }
}

void TMqttBridge::Carry(const std::string& topic, const std::string& payload) {
    const TOutcome outcome = FRequests.Carry(topic, payload);
    if (outcome.Kind != TOutcome::Done && outcome.Kind != TOutcome::Accepted) {
        Reject(topic, outcome.Reason);
    }
}

void TMqttBridge::Reject(const std::string& topic, const std::string& reason) {
    FSession.Log("MQTT", SprintF("Rejected the message on %s: %s", topic, reason));
    FLink.Publish({FTopics.Errors(), JsonText(json{{"topic", topic}, {"error", reason}}), false});
}

bool TMqttBridge::Public(const json& source) const {
    return FPublishAll || source.value("kind", 0) == DisplayDataSourceType_REST ||
           source.value("public", false);
}

void TMqttBridge::PublishChanges() {
    std::set<std::string> topics;
    for (const json& display : FOperations.Displays().Document) {
        PublishIfChanged(FTopics.DisplayState(display.value("name", "")), display, topics);
    }
    for (const json& source : FOperations.Sources().Document) {
        if (Public(source)) {
            PublishIfChanged(FTopics.SourceValue(source.value("name", "")),
                             {{"lines", source.value("lines", json::array())},
                              {"changed", source.value("changed", json(nullptr))}},
                             topics);
        }
    }
    // A display or source that is gone (after a reload, say) must not live on in the broker's
    // retained state: an empty retained message removes it there.
    std::erase_if(FPublished, [&](const auto& published) {
        if (topics.contains(published.first)) {
            return false;
        }
        FLink.Publish({published.first, "", true});
        return true;
    });
}

void TMqttBridge::PublishIfChanged(const std::string& topic, const json& document,
                                   std::set<std::string>& taken) {
    // Names that differ only in '/', '+' or '#' share a topic: the first keeps it, rather than
    // each replacing the other on every tick.
    if (!taken.insert(topic).second) {
        return;
    }
    std::string payload = JsonText(document);
    std::string& published = FPublished[topic];
    if (published != payload) {
        published = payload;
        FLink.Publish({topic, std::move(payload), true});
    }
}
