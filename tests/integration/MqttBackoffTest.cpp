#include "integration/MqttBackoff.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using TTime = TMqttBackoff::TTime;

const TTime Start = TTime() + 1000s;

TEST(MqttBackoffTest, PausesDoubleFromOneToSixtySeconds) {
    TMqttBackoff backoff;
    EXPECT_EQ(backoff.NextAttempt(), TTime());
    const std::chrono::seconds expected[] = {1s, 2s, 4s, 8s, 16s, 32s, 60s, 60s};
    for (const auto wait : expected) {
        backoff.Failed("refused", Start);
        EXPECT_EQ(backoff.NextAttempt(), Start + wait);
    }
    backoff.Connected();
    backoff.Failed("refused", Start);
    EXPECT_EQ(backoff.NextAttempt(), Start + 1s);
}

TEST(MqttBackoffTest, OnlyAChangeOfFailureIsWorthLogging) {
    TMqttBackoff backoff;
    EXPECT_TRUE(backoff.Failed("refused", Start));
    EXPECT_FALSE(backoff.Failed("refused", Start));
    EXPECT_TRUE(backoff.Failed("lost", Start));
    EXPECT_TRUE(backoff.Failed("refused", Start));
    backoff.Connected();
    EXPECT_TRUE(backoff.Failed("refused", Start));
}

} // namespace
