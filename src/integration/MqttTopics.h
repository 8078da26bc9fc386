#pragma once

#include <string>

// A display's or source's name as one level of a topic: '/', '+' and '#' become '_', since they
// would split the level or act as wildcards.
std::string TopicLevel(std::string name);

// The bridge's topics below one prefix, so that many sites can share a broker.
class TMqttTopics {
public:
    explicit TMqttTopics(std::string prefix) : FPrefix(std::move(prefix)) {}

    std::string Status() const { return FPrefix + "/status"; }
    std::string Errors() const { return FPrefix + "/errors"; }
    std::string DisplayState(const std::string& display) const;
    std::string SourceValue(const std::string& source) const;
    // What the bridge subscribes to.
    std::string AnySourceSet() const { return FPrefix + "/sources/+/set"; }
    std::string AnyDisplayNotify() const { return FPrefix + "/displays/+/notify"; }

    // What an incoming topic asks for, and of whom (the name's topic level).
    struct TRequest {
        enum TKind { None, SetSource, NotifyDisplay } Kind = None;
        std::string Level;
    };
    TRequest Request(const std::string& topic) const;

private:
    const std::string FPrefix;
};
