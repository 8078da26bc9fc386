#include "integration/MqttTopics.h"

#include <gtest/gtest.h>

namespace {

TEST(MqttTopicsTest, NamesBecomeOneLevelWithoutWildcards) {
    EXPECT_EQ(TopicLevel("Door count"), "Door count");
    EXPECT_EQ(TopicLevel("a/b+c#d"), "a_b_c_d");
    EXPECT_EQ(TopicLevel("Grüße"), "Grüße");
}

TEST(MqttTopicsTest, PublishedTopicsLieBelowThePrefix) {
    const TMqttTopics topics("site/a");
    EXPECT_EQ(topics.Status(), "site/a/status");
    EXPECT_EQ(topics.Errors(), "site/a/errors");
    EXPECT_EQ(topics.DisplayState("Hall/1"), "site/a/displays/Hall_1/state");
    EXPECT_EQ(topics.SourceValue("#count"), "site/a/sources/_count/value");
    EXPECT_EQ(topics.AnySourceSet(), "site/a/sources/+/set");
    EXPECT_EQ(topics.AnyDisplayNotify(), "site/a/displays/+/notify");
}

TEST(MqttTopicsTest, IncomingTopicsNameTheirRequest) {
    using TRequest = TMqttTopics::TRequest;
    const TMqttTopics topics("vorlix");
    const struct {
        std::string Topic;
        TRequest::TKind Kind;
        std::string Level;
    } cases[] = {
        {"vorlix/sources/Count/set", TRequest::SetSource, "Count"},
        {"vorlix/displays/Hall 1/notify", TRequest::NotifyDisplay, "Hall 1"},
        {"vorlix/sources//set", TRequest::SetSource, ""},
        {"vorlix/sources/a/b/set", TRequest::None, ""},
        {"vorlix/sources/Count/value", TRequest::None, ""},
        {"other/sources/Count/set", TRequest::None, ""},
        {"vorlix/sources/set", TRequest::None, ""},
        {"vorlix/displays/x/set", TRequest::None, ""},
    };
    for (const auto& c : cases) {
        const TRequest request = topics.Request(c.Topic);
        EXPECT_EQ(request.Kind, c.Kind) << c.Topic;
        EXPECT_EQ(request.Level, c.Level) << c.Topic;
    }
}

} // namespace
