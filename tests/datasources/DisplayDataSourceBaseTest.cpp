#include "datasources/DisplayDataSourceBase.h"

#include "support/TestClock.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

namespace {

// The base class as it stands: the due check and the value accessors.
class TPlainSource : public TDisplayDataSourceBase {
public:
    explicit TPlainSource(const std::string& name = "plain") : TDisplayDataSourceBase("TPlainSource", name) {}
};

TEST(DataSourceDueCheck, IsDueOnlyWhenStrictlyMoreThanTheIntervalHasPassed) {
    TestClock clock(SomeMoment());
    TPlainSource source;
    source.SetTimeoutMsec(1000);
    source.Value.Add("old");

    EXPECT_TRUE(source.RefreshData()) << "the first check is due at once";
    EXPECT_EQ(source.Value.Count(), 0u) << "a due check empties the value";
    EXPECT_EQ(source.LastTimeout, clock.Now());

    source.Value.Add("kept");
    clock.Advance(1000);
    EXPECT_FALSE(source.RefreshData()) << "exactly the interval";
    EXPECT_EQ(source.Value.Count(), 1u) << "a check that is not due leaves the value alone";
    clock.Advance(1);
    EXPECT_TRUE(source.RefreshData()) << "one millisecond more";
    EXPECT_EQ(source.Value.Count(), 0u);

    clock.Advance(5);
    source.Reinitialize("anything");
    EXPECT_TRUE(source.RefreshData()) << "reconfiguring makes the next check due";
}

TEST(DataSourceDueCheck, ClockGoingBackCountsTheDistance) {
    TestClock clock(SomeMoment());
    TPlainSource source;
    source.SetTimeoutMsec(1000);
    ASSERT_TRUE(source.RefreshData());
    clock.Advance(-1000);
    EXPECT_FALSE(source.RefreshData());
    clock.Advance(-1);
    EXPECT_TRUE(source.RefreshData());
}

TEST(DataSourceDueCheck, NeverDueWithoutAPositiveInterval) {
    TestClock clock(SomeMoment());
    for (const std::int64_t interval : {0, -1, -1000}) {
        TPlainSource source;
        source.SetTimeoutMsec(interval);
        source.Value.Add("kept");
        EXPECT_FALSE(source.RefreshData()) << interval;
        clock.Advance(100'000);
        EXPECT_FALSE(source.RefreshData()) << interval;
        EXPECT_EQ(source.Value.Count(), 1u);
    }
}

TEST(DataSourceBase, NameLosesLeadingAndTrailingBrackets) {
    const struct {
        std::string given, name;
    } cases[] = {{"Temp", "Temp"},   {"[Temp]", "Temp"}, {"[[x]]", "x"}, {"]a[", "a"},
                 {"a[b]c", "a[b]c"}, {"[]", ""},         {"", ""},       {" [a] ", " [a] "}};
    for (const auto& c : cases) {
        EXPECT_EQ(TPlainSource(c.given).Name(), c.name) << c.given;
    }
    TPlainSource source;
    source.SetName("[[renamed]");
    EXPECT_EQ(source.Name(), "renamed");
}

TEST(DataSourceBase, NewSourceHasAnEmptyDefaultValue) {
    const TPlainSource source;
    EXPECT_EQ(source.Value.Count(), 0u);
    EXPECT_EQ(source.Value.LineBreak(), "\r\n");
    EXPECT_FALSE(source.Value.StrictDelimiter());
    EXPECT_EQ(source.ValueType(), TDisplayDataSourceBase::ValueType_Text);
    EXPECT_EQ(source.TimeoutMsec(), 0);
    EXPECT_EQ(source.LastTimeout, 0);
    EXPECT_EQ(source.GetDataSourceType(), DisplayDataSourceType_None);
    EXPECT_EQ(source.GetConfiguration(), "");
    EXPECT_FALSE(source.IsParameterDependant());
}

TEST(DataSourceBase, AsIntegerReadsWholeNumbersOnly) {
    constexpr std::int32_t none = -999;
    const struct {
        std::string line;
        std::int32_t expected;
    } cases[] = {
        {" 42", 42},
        {"42", 42},
        {"-42", -42},
        {"+7", 7},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1F", 31},
        {"0X1f", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", none},
        {"$100000000", none},
        {"12.5", none},
        {"42 ", none},
        {"", none},
        {" ", none},
        {"abc", none},
        {"$", none},
        {"0x", none},
        {"--5", none},
        {"1e3", none},
        {"\t42", none},
        {"$1G", none},
        {"- 5", none},
    };
    for (const auto& c : cases) {
        TPlainSource source;
        source.Value.Add(c.line);
        source.Value.Add("99");
        EXPECT_EQ(source.AsInteger(0, none), c.expected) << "'" << c.line << "'";
        EXPECT_EQ(source.AsInteger(1, none), 99);
        EXPECT_EQ(source.AsInteger(2, none), none) << "no such line";
    }
    EXPECT_EQ(TPlainSource().AsInteger(0, -1), -1) << "empty value";
}

TEST(DataSourceBase, AsDoubleUsesTheUsersDecimalSeparator) {
    TRegionalSettings comma;
    comma.DecimalSeparator = ',';
    const TScopedRegionalSettings installed(comma);
    TPlainSource source;
    source.Value.Add("21,5");
    source.Value.Add("21.5");
    source.Value.Add("");
    source.Value.Add("1e400");
    EXPECT_DOUBLE_EQ(source.AsDouble(0, -1), 21.5);
    EXPECT_DOUBLE_EQ(source.AsDouble(1, -1), -1);
    EXPECT_DOUBLE_EQ(source.AsDouble(2, -1), -1);
    EXPECT_DOUBLE_EQ(source.AsDouble(3, -1), -1) << "beyond the range of a double";
    EXPECT_DOUBLE_EQ(source.AsDouble(4, -1), -1);
}

TEST(DataSourceBase, AsDateTimeReadsTheUsersFormatsAndDefaultsToNow) {
    TestClock clock(SomeMoment());
    TRegionalSettings settings;
    settings.ShortDateFormat = "yyyy-mm-dd";
    settings.LongTimeFormat = "hh:nn:ss";
    const TScopedRegionalSettings installedSettings(settings);

    TPlainSource source;
    EXPECT_EQ(source.AsDateTime(0, 0), clock.Now()) << "no line and no default: now";
    EXPECT_EQ(source.AsDateTime(0, 42005.5), 42005.5) << "no line: the default";

    source.Value.Add("2015-01-01");
    source.Value.Add("2015-01-01 12:00:00");
    source.Value.Add("abc");
    EXPECT_EQ(source.AsDateTime(0, 0), 42005);
    EXPECT_EQ(source.AsDateTime(1, 7), 42005.5);
    try {
        source.AsDateTime(2, 0);
        FAIL() << "abc is no date";
    } catch (const EVorlixError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid date and time");
    }
}

} // namespace
