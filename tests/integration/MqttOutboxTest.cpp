#include "integration/MqttOutbox.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using TTime = TMqttOutbox::TTime;

const TTime Start = TTime() + 1000s;

TEST(MqttOutboxTest, TheNewestStatePerTopicWins) {
    TMqttOutbox outbox;
    outbox.Put({"a", "1", true});
    outbox.Put({"b", "x", false});
    outbox.Put({"a", "2", true});
    EXPECT_EQ(outbox.TakeDue(Start), (std::vector<TMqttMessage>{{"a", "2", true}, {"b", "x", false}}));
    EXPECT_TRUE(outbox.TakeDue(Start).empty());
    EXPECT_FALSE(outbox.NextDue());
}

TEST(MqttOutboxTest, EventsWaitInTurnAndTheOldestGiveWay) {
    TMqttOutbox outbox;
    for (std::size_t i = 0; i < TMqttOutbox::MaxEvents + 2; ++i) {
        outbox.Put({"errors", std::to_string(i), false});
    }
    std::vector<std::string> sent;
    for (TTime now = Start; outbox.NextDue(); now += TMqttOutbox::MinInterval) {
        for (const TMqttMessage& message : outbox.TakeDue(now)) {
            sent.push_back(message.Payload);
        }
    }
    ASSERT_EQ(sent.size(), TMqttOutbox::MaxEvents);
    EXPECT_EQ(sent.front(), "2");
    EXPECT_EQ(sent.back(), std::to_string(TMqttOutbox::MaxEvents + 1));
}

TEST(MqttOutboxTest, ATopicSendsAtMostTenTimesASecond) {
    TMqttOutbox outbox;
    outbox.Put({"a", "1", true});
    ASSERT_EQ(outbox.TakeDue(Start).size(), 1U);
    outbox.Put({"a", "2", true});
    outbox.Put({"b", "1", true});
    EXPECT_EQ(outbox.TakeDue(Start + 50ms), (std::vector<TMqttMessage>{{"b", "1", true}}));
    EXPECT_EQ(outbox.NextDue(), Start + 100ms);
    outbox.Put({"a", "3", true});
    EXPECT_TRUE(outbox.TakeDue(Start + 99ms).empty());
    EXPECT_EQ(outbox.TakeDue(Start + 100ms), (std::vector<TMqttMessage>{{"a", "3", true}}));
}

TEST(MqttOutboxTest, RetainedMessagesAreSentAgainOnRequest) {
    TMqttOutbox outbox;
    outbox.Put({"state", "old", true});
    outbox.Put({"errors", "bad", false});
    ASSERT_EQ(outbox.TakeDue(Start).size(), 2U);
    outbox.ResendRetained();
    EXPECT_EQ(outbox.TakeDue(Start + 1s), (std::vector<TMqttMessage>{{"state", "old", true}}));
    // A newer state that waits already is not replaced by the one sent before.
    outbox.Put({"state", "new", true});
    outbox.ResendRetained();
    EXPECT_EQ(outbox.TakeDue(Start + 2s), (std::vector<TMqttMessage>{{"state", "new", true}}));
}

} // namespace
