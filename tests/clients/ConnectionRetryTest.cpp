#include "clients/ConnectionRetry.h"

#include "ClientTestSupport.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

TEST(ConnectionRetry, WaitAfterEachFailureDoublesFrom50MsUpTo2s) {
    TestClock clock;
    TConnectionRetry retry;
    EXPECT_TRUE((retry.MsecUntilAttempt() == 0));
    for (const std::int64_t wait : {50, 100, 200, 400, 800, 1600, 2000, 2000, 2000}) {
        retry.Failed("refused");
        clock.Advance(wait - 1);
        EXPECT_FALSE((retry.MsecUntilAttempt() == 0)) << "wait " << wait;
        clock.Advance(1);
        EXPECT_TRUE((retry.MsecUntilAttempt() == 0)) << "wait " << wait;
    }
}

TEST(ConnectionRetry, SuccessAndResetMakeTheNextAttemptDueAtOnceAndTheWaitStartAgain) {
    TestClock clock;
    for (const bool bySuccess : {true, false}) {
        TConnectionRetry retry;
        for (int failure = 0; failure < 5; ++failure) {
            retry.Failed("refused");
        }
        if (bySuccess) {
            retry.Succeeded();
        } else {
            retry.Reset();
        }
        EXPECT_TRUE((retry.MsecUntilAttempt() == 0));
        retry.Failed("refused");
        clock.Advance(49);
        EXPECT_FALSE((retry.MsecUntilAttempt() == 0));
        clock.Advance(1);
        EXPECT_TRUE((retry.MsecUntilAttempt() == 0));
    }
}

TEST(ConnectionRetry, FailureIsWorthLoggingWhenItBeginsOrItsTextChanges) {
    TConnectionRetry retry;
    const struct {
        const char* failure; // nullptr: a success
        bool expected;
    } steps[] = {
        {nullptr, false},  {"refused", true}, {"refused", false}, {"no route", true}, {"no route", false},
        {"refused", true}, {nullptr, true},   {nullptr, false},   {"refused", true},
    };
    for (const auto& step : steps) {
        const bool answer = step.failure ? retry.Failed(step.failure) : retry.Succeeded();
        EXPECT_EQ(answer, step.expected) << (step.failure ? step.failure : "success");
    }
}

TEST(ConnectionRetry, AfterResetTheSameFailureIsLoggedAgainAndSuccessStillReportsTheRecovery) {
    TConnectionRetry retry;
    EXPECT_TRUE(retry.Failed("refused"));
    EXPECT_FALSE(retry.Failed("refused"));
    retry.Reset();
    EXPECT_TRUE(retry.Failed("refused"));
    retry.Reset();
    EXPECT_TRUE(retry.Succeeded());
}

} // namespace
