#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
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

// What waits to go to the broker. A retained message is a state: only the newest per topic waits,
// so that nothing piles up while the broker is away or a value changes faster than it is worth
// sending. Other messages are events, each worth sending: up to MaxEvents wait per topic, and the
// oldest gives way. A topic gets at most one message per MinInterval. The retained messages sent
// last are kept, so that a new connection, perhaps to a broker that restarted without them, can
// have them all again. Not thread-safe; times are passed in.
class TMqttOutbox {
public:
    using TTime = std::chrono::steady_clock::time_point;

    static constexpr std::chrono::milliseconds MinInterval{100};
    static constexpr std::size_t MaxEvents = 32;

    void Put(TMqttMessage message);
    // Takes the messages whose topic may send at `now`, in the order of their topics.
    std::vector<TMqttMessage> TakeDue(TTime now);
    // When the next waiting message may go; nothing when none waits.
    std::optional<TTime> NextDue() const;
    // Queues every retained message sent so far again, unless a newer one waits already.
    void ResendRetained();

private:
    struct TTopic {
        std::deque<TMqttMessage> Waiting;
        std::optional<TMqttMessage> RetainedSent;
        std::optional<TTime> LastSent;
    };

    std::map<std::string, TTopic> FTopics;
};
