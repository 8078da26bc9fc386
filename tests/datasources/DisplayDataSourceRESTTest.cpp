#include "datasources/DisplayDataSourceREST.h"

#include "support/TestClock.h"

#include <gtest/gtest.h>

namespace {

TEST(RestSource, NeverPublishesOnItsOwn) {
    TestClock clock(SomeMoment());
    TDisplayDataSourceREST source("r");
    source.SetTimeoutMsec(100);
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_FALSE(source.RefreshData());
        clock.Advance(1000);
    }
    EXPECT_EQ(source.Value.Count(), 0u);
    EXPECT_EQ(source.GetConfiguration(), "");
}

TEST(RestSource, PublishesOnceAfterItsValueWasWritten) {
    TDisplayDataSourceREST source("r");
    source.Value.SetText("pushed");
    EXPECT_TRUE(source.RefreshData());
    EXPECT_FALSE(source.RefreshData());
    source.Value.Clear();
    EXPECT_TRUE(source.RefreshData());
    EXPECT_FALSE(source.RefreshData());
}

} // namespace
