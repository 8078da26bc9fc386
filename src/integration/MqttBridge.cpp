#include "integration/MqttBridge.h"

#include "config/JsonText.h"
#include "datasources/DisplayDataSourceType.h"
#include "integration/PushRequests.h"
#include "platform/Encoding.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "rows/ConfigurationRow.h"
#include "rows/DisplaySession.h"

#include <optional>
#include <set>
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

TOutcome Ambiguous(const std::string& level, const char* what) {
    return TOutcome::Refusal(TOutcome::Invalid,
                             SprintF("The name \"%s\" in the topic fits more than one %s", level, what));
}

// A JSON object is the body of the HTTP PUT; anything else is the text itself, read as that
// body's "value" so that both follow the same rules.
std::vector<std::string> SourceLines(const std::string& payload) {
    const std::size_t first = payload.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && payload[first] == '{') {
        return ReadSourceValue(payload);
    }
    if (!IsValidUtf8(payload)) {
        throw EVorlixError("The message is not UTF-8 text");
    }
    return ReadSourceValue(JsonText(json{{"value", payload}}));
}

} // namespace

TMqttBridge::TMqttBridge(const TMqttOptions& options, TDisplaySession& session)
    : FTopics(options.Prefix), FPublishAll(options.PublishAll), FWork(session.Work()), FOperations(session),
      FSession(session),
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
    const TMqttTopics::TRequest request = FTopics.Request(topic);
    TOutcome outcome;
    try {
        if (request.Kind == TMqttTopics::TRequest::SetSource) {
            outcome = SetSource(request.Level, payload);
        } else if (request.Kind == TMqttTopics::TRequest::NotifyDisplay) {
            outcome = Notify(request.Level, payload);
        }
    } catch (const EVorlixError& malformed) {
        outcome = TOutcome::Refusal(TOutcome::Invalid, malformed.what());
    }
    if (outcome.Kind != TOutcome::Done && outcome.Kind != TOutcome::Accepted) {
        Reject(topic, outcome.Reason);
    }
}

TOutcome TMqttBridge::SetSource(const std::string& level, const std::string& payload) {
    const std::optional<std::string> name = NameFor(FOperations.Sources().Document, level);
    if (!name) {
        return Ambiguous(level, "source");
    }
    return FOperations.SetSourceValue(*name, SourceLines(payload));
}

TOutcome TMqttBridge::Notify(const std::string& level, const std::string& payload) {
    const std::optional<std::string> name = NameFor(FOperations.Displays().Document, level);
    if (!name) {
        return Ambiguous(level, "display");
    }
    return FOperations.Notify(*name, ReadNotification(payload));
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
