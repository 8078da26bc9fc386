#include "datasources/DisplayDatasourceExpression.h"

#include "support/TestClock.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using TSource = TDisplayDataSourceBase;
using TLines = std::vector<std::string>;

class ExpressionSource : public ::testing::Test {
protected:
    void SetUp() override {
        Settings.ShortDateFormat = "yyyy-mm-dd";
        Settings.LongTimeFormat = "hh:nn:ss";
    }

    // A static source of that name, value type and value, refreshed so that it holds the value.
    void AddSource(const std::string& name, TSource::TValueType valueType, const std::string& value) {
        auto source = TSource::CreateDerived(name, DisplayDataSourceType_Static, value, 0, valueType);
        source->RefreshData();
        Sources[name] = std::move(source);
    }

    // The value of a due refresh of `expression`.
    std::string Evaluated(const std::string& expression) {
        const TScopedRegionalSettings installed(Settings);
        TDisplayDatasourceExpression source("e", expression);
        source.SetTimeoutMsec(1000);
        source.SetFetchDisplayHandler(Lookup());
        EXPECT_TRUE(source.RefreshData()) << expression;
        return source.Value.Text();
    }

    TSource::TFetchDisplayFromCache Lookup() {
        return [this](const std::string& name) -> TSource* {
            const auto found = Sources.find(name);
            return found == Sources.end() ? nullptr : found->second.get();
        };
    }

    TestClock Clock{SomeMoment()};
    TRegionalSettings Settings;
    std::map<std::string, std::unique_ptr<TSource>> Sources;
};

TEST_F(ExpressionSource, ReplacesNamesByValueType) {
    AddSource("a", TSource::ValueType_Numeric, "7");
    AddSource("half", TSource::ValueType_Numeric, "2.5");
    AddSource("empty", TSource::ValueType_Numeric, "");
    AddSource("hex", TSource::ValueType_Numeric, "$10");
    AddSource("text", TSource::ValueType_Text, "5");
    AddSource("d", TSource::ValueType_Date, "2026-03-04");
    AddSource("noon", TSource::ValueType_Time, "2015-01-01 12:00:00");
    AddSource("today", TSource::ValueType_Date, "");
    AddSource("a[b", TSource::ValueType_Numeric, "3");

    const struct {
        std::string expression;
        std::string value;
    } cases[] = {
        {"[a]+[b]", "7"},
        {"[half]", "-1"},
        {"[empty]", "-1"},
        {"[hex]*2", "32"},
        {"[text]", "0"},
        {"[A]", "0"},
        {"[a]*[a]", "49"},
        {"[[a]]+1", "Error while evaluating:Parse error: Factor expected"},
        {"[a[b]+[a]", "10"},
        {"[a]+[[[[a[b]", "Error while evaluating:Parse error: Factor expected"},
        {"DaysSince([d])", "10"},
        {"[noon]", "42005.5"},
        {"DaysSince([today])", "0"},
        {"[]", "0"},
        {"", "Error while evaluating:Parse error: Factor expected"},
        {"1/0", "Error while evaluating:Floating point division by zero"},
        {"0.1+0.2", "0.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluated(c.expression), c.value) << c.expression;
    }
}

TEST_F(ExpressionSource, NumbersFollowTheUsersDecimalSeparator) {
    Settings.DecimalSeparator = ',';
    AddSource("noon", TSource::ValueType_Time, "2015-01-01 12:00:00");
    const struct {
        std::string expression;
        std::string value;
    } cases[] = {
        {"0,1+0,2", "0,3"},
        {"0.1+0.2", "Error while evaluating:'0.1' is not a valid floating point value"},
        {"[noon]", "42005,5"},
        {"[noon]*2", "84011"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluated(c.expression), c.value) << c.expression;
    }
}

TEST_F(ExpressionSource, ValueIsOneStrictlyDelimitedLine) {
    Settings.DecimalSeparator = ',';
    const TScopedRegionalSettings installed(Settings);
    TDisplayDatasourceExpression source("e", "1,5*3");
    source.SetTimeoutMsec(1);
    source.SetFetchDisplayHandler(Lookup());
    ASSERT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Lines(), TLines{"4,5"});
    EXPECT_EQ(source.Value.Text(), "4,5");
    EXPECT_EQ(source.Value.DelimitedText(), "\"4,5\"");
}

TEST_F(ExpressionSource, InvalidDateEndsTheRefreshWithTheError) {
    AddSource("d", TSource::ValueType_Date, "abc");
    const TScopedRegionalSettings installed(Settings);
    TDisplayDatasourceExpression source("e", "DaysSince([d])");
    source.SetTimeoutMsec(1000);
    source.SetFetchDisplayHandler(Lookup());
    source.Value.Add("old");
    try {
        source.RefreshData();
        FAIL() << "abc is no date";
    } catch (const EVorlixError& error) {
        EXPECT_STREQ(error.what(), "'abc' is not a valid date and time");
    }
    EXPECT_EQ(source.Value.Count(), 0u);
    EXPECT_FALSE(source.RefreshData()) << "the next try waits for the interval";
}

TEST_F(ExpressionSource, EvaluatesOnlyWhenDueAndWithALookup) {
    AddSource("a", TSource::ValueType_Numeric, "1");
    TDisplayDatasourceExpression source("e", "[a]+1");
    EXPECT_FALSE(source.RefreshData()) << "interval 0: never due";

    source.SetTimeoutMsec(1000);
    EXPECT_TRUE(source.RefreshData()) << "due without a lookup";
    EXPECT_EQ(source.Value.Count(), 0u);

    source.SetFetchDisplayHandler(Lookup());
    Clock.Advance(1000);
    EXPECT_FALSE(source.RefreshData());
    Clock.Advance(1);
    EXPECT_TRUE(source.RefreshData());
    EXPECT_EQ(source.Value.Text(), "2");

    Sources.at("a")->Reinitialize("41");
    Sources.at("a")->RefreshData();
    source.Reinitialize("[a]+1");
    EXPECT_TRUE(source.RefreshData()) << "reconfiguring makes it due at once";
    EXPECT_EQ(source.Value.Text(), "42");
}

TEST_F(ExpressionSource, LongExpressionsAreNotEvaluated) {
    const std::string longest = "1" + std::string(TDisplayDatasourceExpression::MaxExpressionLength - 1, ' ');
    EXPECT_EQ(Evaluated(longest), "1");
    EXPECT_EQ(Evaluated(longest + " "), "Error while evaluating:Expression too long");
    const std::string longestWithLetters =
        "1" + std::string(TDisplayDatasourceExpression::MaxExpressionLength - 2, ' ') + "ö";
    EXPECT_NE(Evaluated(longestWithLetters), "Error while evaluating:Expression too long")
        << "characters count, not bytes";
}

TEST(ExpressionVariables, AreTheBracketedNamesInOrder) {
    const struct {
        std::string expression;
        TLines variables;
    } cases[] = {
        {"[a]+[b]", {"a", "b"}},
        {"[x]*[x]", {"x", "x"}},
        {"[[a]]", {"a"}},
        {"[a[b]", {"a[b"}},
        {"[]", {""}},
        {"[a", {}},
        {"a]b[c]", {"c"}},
        {"[ a ]", {" a "}},
        {"DaysSince([Deadline])", {"Deadline"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        const TDisplayDatasourceExpression source("e", c.expression);
        EXPECT_EQ(source.Variables(), c.variables) << c.expression;
        EXPECT_EQ(source.GetConfiguration(), c.expression);
        EXPECT_EQ(source.Expression, c.expression);
    }
}

} // namespace
