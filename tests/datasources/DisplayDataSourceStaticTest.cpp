#include "datasources/DisplayDataSourceStatic.h"

#include "support/TestClock.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

namespace {

using TSource = TDisplayDataSourceBase;

TEST(StaticSource, NowFollowsTheClockForDatesAndTimesOnly) {
    TestClock clock(SomeMoment());
    TRegionalSettings settings;
    settings.ShortDateFormat = "yyyy-mm-dd";
    settings.LongTimeFormat = "hh:nn:ss";
    const TScopedRegionalSettings installedSettings(settings);

    const struct {
        TSource::TValueType valueType;
        std::string configuration;
        std::string text;
    } cases[] = {
        {TSource::ValueType_Date, "now()", "2026-03-14\r\n"},
        {TSource::ValueType_Date, "NOW()", "2026-03-14\r\n"},
        {TSource::ValueType_Time, "Now()", "12:30:15\r\n"},
        {TSource::ValueType_Date, "now() ", "now() \r\n"},
        {TSource::ValueType_Time, "now", "now\r\n"},
        {TSource::ValueType_Text, "now()", "now()\r\n"},
        {TSource::ValueType_Numeric, "now()", "now()\r\n"},
    };
    for (const auto& c : cases) {
        TDisplayDataSourceStatic source("s", c.configuration);
        source.SetValueType(c.valueType);
        EXPECT_TRUE(source.RefreshData());
        EXPECT_EQ(source.Value.Text(), c.text) << c.configuration << " type " << c.valueType;
    }

    TDisplayDataSourceStatic time("t", "now()");
    time.SetValueType(TSource::ValueType_Time);
    ASSERT_TRUE(time.RefreshData());
    clock.Advance(2000);
    ASSERT_TRUE(time.RefreshData());
    EXPECT_EQ(time.Value.Text(), "12:30:17\r\n");
}

TEST(StaticSource, PublishesOnEveryRefresh) {
    TestClock clock(SomeMoment());
    TDisplayDataSourceStatic source("s", "12");
    source.SetTimeoutMsec(60'000);
    for (int pass = 0; pass < 3; ++pass) {
        EXPECT_TRUE(source.RefreshData());
        EXPECT_EQ(source.Value.Text(), "12\r\n");
    }
}

TEST(StaticSource, ValueWithLineBreaksBecomesSeveralLines) {
    TDisplayDataSourceStatic source("s", "first line\r\nsecond");
    ASSERT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Count(), 2u);
    EXPECT_EQ(source.Value.DelimitedText(), "\"first line\",second");
}

TEST(StaticSource, ReinitializeReplacesTheValueAndMakesTheSourceDue) {
    TDisplayDataSourceStatic source("s", "old");
    source.LastTimeout = SomeMoment();
    source.Reinitialize("new");
    EXPECT_EQ(source.StaticValue, "new");
    EXPECT_EQ(source.GetConfiguration(), "new");
    EXPECT_EQ(source.LastTimeout, 0);
    ASSERT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Text(), "new\r\n");
}

} // namespace
