#include "integration/MqttTopics.h"

#include <algorithm>

namespace {

// The level between `head` and `tail` when `topic` is head + level + tail and the level is one.
bool LevelBetween(const std::string& topic, const std::string& head, const std::string& tail,
                  std::string& level) {
    if (topic.size() < head.size() + tail.size() || !topic.starts_with(head) || !topic.ends_with(tail)) {
        return false;
    }
    level = topic.substr(head.size(), topic.size() - head.size() - tail.size());
    return level.find('/') == std::string::npos;
}

} // namespace

std::string TopicLevel(std::string name) {
    std::replace_if(
        name.begin(), name.end(), [](char c) { return c == '/' || c == '+' || c == '#'; }, '_');
    return name;
}

std::string TMqttTopics::DisplayState(const std::string& display) const {
    return FPrefix + "/displays/" + TopicLevel(display) + "/state";
}

std::string TMqttTopics::SourceValue(const std::string& source) const {
    return FPrefix + "/sources/" + TopicLevel(source) + "/value";
}

TMqttTopics::TRequest TMqttTopics::Request(const std::string& topic) const {
    TRequest request;
    if (LevelBetween(topic, FPrefix + "/sources/", "/set", request.Level)) {
        request.Kind = TRequest::SetSource;
    } else if (LevelBetween(topic, FPrefix + "/displays/", "/notify", request.Level)) {
        request.Kind = TRequest::NotifyDisplay;
    } else {
        request.Level.clear();
    }
    return request;
}
