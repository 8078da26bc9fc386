#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TMqttMessage {
    std::string Topic;
    std::string Payload;
    bool Retain = false;

    bool operator==(const TMqttMessage&) const = default;
};

// What waits to go to the broker: at most one message per topic, the newest, so that nothing
// piles up while the broker is away or a value changes faster than it is worth sending. A topic
// gets at most one message per MinInterval. The retained messages sent last are kept, so that a
// new connection, perhaps to a broker that restarted without them, can have them all again.
// Not thread-safe; times are passed in.
class TMqttOutbox {
public:
    using TTime = std::chrono::steady_clock::time_point;

    static constexpr std::chrono::milliseconds MinInterval{100};

    // Replaces what waits for the message's topic.
    void Put(TMqttMessage message);
    // Takes the messages whose topic may send at `now`, in the order of their topics.
    std::vector<TMqttMessage> TakeDue(TTime now);
    // When the next waiting message may go; nothing when none waits.
    std::optional<TTime> NextDue() const;
    // Queues every retained message sent so far again, unless a newer one waits already.
    void ResendRetained();

private:
    struct TTopic {
        std::optional<TMqttMessage> Waiting;
        std::optional<TMqttMessage> RetainedSent;
        std::optional<TTime> LastSent;
    };

    std::map<std::string, TTopic> FTopics;
};
