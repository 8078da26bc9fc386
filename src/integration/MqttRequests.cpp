#include "integration/MqttRequests.h"

#include "integration/PushRequests.h"
#include "platform/Encoding.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "rows/ConfigurationRow.h"

#include <nlohmann/json.hpp>

#include <optional>
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

// A JSON object is the body of the HTTP PUT; anything else is the text itself, split into lines
// as that body's "value" is.
std::vector<std::string> SourceLines(const std::string& payload) {
    const std::size_t first = payload.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && payload[first] == '{') {
        return ReadSourceValue(payload);
    }
    if (!IsValidUtf8(payload)) {
        throw EVorlixError("The message is not UTF-8 text");
    }
    return SourceValueLines(payload);
}

} // namespace

TOutcome TMqttRequests::Carry(const std::string& topic, const std::string& payload) {
    const TMqttTopics::TRequest request = FTopics.Request(topic);
    try {
        switch (request.Kind) {
        case TMqttTopics::TRequest::SetSource:
            return SetSource(request.Level, payload);
        case TMqttTopics::TRequest::NotifyDisplay:
            return Notify(request.Level, payload);
        case TMqttTopics::TRequest::None:
            break;
        }
    } catch (const EVorlixError& malformed) {
        return TOutcome::Refusal(TOutcome::Invalid, malformed.what());
    }
    return {};
}

TOutcome TMqttRequests::SetSource(const std::string& level, const std::string& payload) {
    const std::optional<std::string> name = NameFor(FOperations.Sources().Document, level);
    if (!name) {
        return Ambiguous(level, "source");
    }
    return FOperations.SetSourceValue(*name, SourceLines(payload));
}

TOutcome TMqttRequests::Notify(const std::string& level, const std::string& payload) {
    const std::optional<std::string> name = NameFor(FOperations.Displays().Document, level);
    if (!name) {
        return Ambiguous(level, "display");
    }
    return FOperations.Notify(*name, ReadNotification(payload));
}
