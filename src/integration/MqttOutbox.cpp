#include "integration/MqttOutbox.h"

void TMqttOutbox::Put(TMqttMessage message) {
    TTopic& topic = FTopics[message.Topic];
    if (message.Retain) {
        topic.Waiting.clear();
    } else if (topic.Waiting.size() >= MaxEvents) {
        topic.Waiting.pop_front();
    }
    topic.Waiting.push_back(std::move(message));
}

std::vector<TMqttMessage> TMqttOutbox::TakeDue(TTime now) {
    std::vector<TMqttMessage> due;
    for (auto& [name, topic] : FTopics) {
        if (topic.Waiting.empty() || (topic.LastSent && now < *topic.LastSent + MinInterval)) {
            continue;
        }
        TMqttMessage& next = topic.Waiting.front();
        if (next.Retain) {
            topic.RetainedSent = next;
        }
        due.push_back(std::move(next));
        topic.Waiting.pop_front();
        topic.LastSent = now;
    }
    return due;
}

std::optional<TMqttOutbox::TTime> TMqttOutbox::NextDue() const {
    std::optional<TTime> next;
    for (const auto& [name, topic] : FTopics) {
        if (topic.Waiting.empty()) {
            continue;
        }
        const TTime due = topic.LastSent ? *topic.LastSent + MinInterval : TTime::min();
        if (!next || due < *next) {
            next = due;
        }
    }
    return next;
}

void TMqttOutbox::ResendRetained() {
    for (auto& [name, topic] : FTopics) {
        if (topic.Waiting.empty() && topic.RetainedSent) {
            topic.Waiting.push_back(*topic.RetainedSent);
        }
    }
}
