#include "integration/MqttOutbox.h"

void TMqttOutbox::Put(TMqttMessage message) {
    TTopic& topic = FTopics[message.Topic];
    topic.Waiting = std::move(message);
}

std::vector<TMqttMessage> TMqttOutbox::TakeDue(TTime now) {
    std::vector<TMqttMessage> due;
    for (auto& [name, topic] : FTopics) {
        if (!topic.Waiting || (topic.LastSent && now < *topic.LastSent + MinInterval)) {
            continue;
        }
        if (topic.Waiting->Retain) {
            topic.RetainedSent = topic.Waiting;
        }
        due.push_back(std::move(*topic.Waiting));
        topic.Waiting.reset();
        topic.LastSent = now;
    }
    return due;
}

std::optional<TMqttOutbox::TTime> TMqttOutbox::NextDue() const {
    std::optional<TTime> next;
    for (const auto& [name, topic] : FTopics) {
        if (!topic.Waiting) {
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
        if (!topic.Waiting && topic.RetainedSent) {
            topic.Waiting = topic.RetainedSent;
        }
    }
}
