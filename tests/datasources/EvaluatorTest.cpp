#include "datasources/Evaluator.h"
#include "datasources/GlobalEvaluator.h"
#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <variant>

namespace {

using TOutcome = std::variant<long double, std::string>;

TOutcome Evaluate(const TEvaluator& evaluator, const std::string& text, char separator) {
    const TScopedRegionalSettings settings(TRegionalSettings{.DecimalSeparator = separator});
    try {
        return evaluator.Evaluate(text);
    } catch (const EVorlixError& error) {
        return std::string(error.what());
    }
}

std::string Nested(const std::string& open, int depth, const std::string& inner, const std::string& close) {
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += open;
    }
    text += inner;
    for (int i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

constexpr long double MinInt64 = static_cast<long double>(std::numeric_limits<std::int64_t>::min());

TEST(Evaluator, ComputesByPrecedenceAndOperatorMeaning) {
    const struct {
        std::string text;
        char separator;
        long double expected;
    } cases[] = {
        {"2+3*4", '.', 14},
        {"(2+3)*4", '.', 20},
        {"2*-3", '.', -6},
        {"2--3", '.', 5},
        {"--3", '.', 3},
        {"+5", '.', 5},
        {"5 - 3 - 1", '.', 1},
        {"16 / 4 / 2", '.', 2},
        {"7/2", '.', 3.5L},
        {"1e3+1", '.', 1001},
        {"2E-1", '.', 0.2L},
        {"0.1+0.2", '.', 0.1L + 0.2L},
        {"0,1+0,2", ',', 0.1L + 0.2L},
        {"1.5*2", '.', 3},
        {"1,5*2", ',', 3},
        {"\t 1 \r\n\v\f+ 2 ", '.', 3},
        {"7 div 2", '.', 3},
        {"-7 div 2", '.', -3},
        {"-7 mod 2", '.', -1},
        {"7 mod -2", '.', 1},
        {"2.5 div 1", '.', 2},
        {"3.5 div 1", '.', 4},
        {"-2.5 div 1", '.', -2},
        {"2.5000001 div 1", '.', 3},
        {"-9223372036854775808 div -1", '.', -MinInt64},
        {"-9223372036854775808 mod -1", '.', 0},
        {"1 shl 64", '.', 1},
        {"1 shl 63", '.', MinInt64},
        {"1 shl -1", '.', MinInt64},
        {"2 shl 1 shl 1", '.', 8},
        {"-1 shr 60", '.', 15},
        {"-1 shr 0", '.', -1},
        {"5 cmp 3", '.', 1},
        {"3 cmp 3", '.', 0},
        {"2 cmp 3", '.', -1},
        {"0 or 0", '.', 0},
        {"2 or 0", '.', 1},
        {"2 xor 3", '.', 0},
        {"2 xor 0", '.', 1},
        {"2 and 3", '.', 1},
        {"2 and 0", '.', 0},
        {"1 AND 1", '.', 1},
        {"1 And 0", '.', 0},
        {"6 band 3", '.', 2},
        {"6 bor 3", '.', 7},
        {"6 bxor 3", '.', 5},
        {"6 BXOR 3", '.', 5},
        {"bnot 0", '.', -1},
        {"bnot 2.5", '.', -3},
        {"-9223372036854775808 bor 0", '.', MinInt64},
        {"not 0", '.', 1},
        {"not not 5", '.', 1},
        {"NOT 2 > 1", '.', 0},
        {"1 < 2 < 3", '.', 1},
        {"3 > 2 > 1", '.', 0},
        {"1 = 1", '.', 1},
        {"1 <> 1", '.', 0},
        {"2 <= 2", '.', 1},
        {"2 >= 3", '.', 0},
        {"1e-4000 * 1e-4000", '.', 0},
        {Nested("(", 256, "1", ")"), '.', 1},
        {Nested("-", 256, "1", ""), '.', 1},
        {Nested("not ", 128, Nested("(", 128, "7", ")"), ""), '.', 1},
    };
    const TEvaluator evaluator;
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluate(evaluator, c.text, c.separator), TOutcome(c.expected)) << c.text;
    }
}

TEST(Evaluator, FailsWithTheMessageOfTheFirstError) {
    const struct {
        std::string text;
        char separator;
        std::string message;
    } cases[] = {
        {"", '.', "Parse error: Factor expected"},
        {"   ", '.', "Parse error: Factor expected"},
        {"1 or", '.', "Parse error: Factor expected"},
        {"*2", '.', "Parse error: Factor expected"},
        {")", '.', "Parse error: Factor expected"},
        {"\xff", '.', "Parse error: Factor expected"},
        {"(1", '.', "Parse error: ')' expected"},
        {"(1 2", '.', "Parse error: ')' expected"},
        {"1 2", '.', "Parse error: Unknown symbol: '2'"},
        {"1 x", '.', "Parse error: Unknown symbol: 'x'"},
        {"(1))", '.', "Parse error: Unknown symbol: '1'"},
        {"1 \xff", '.', "Parse error: Unknown symbol: '1'"},
        {"1 not 2", '.', "Parse error: Unknown symbol: 'not'"},
        {"foo(1)", '.', "Parse error: Unknown symbol: 'foo'"},
        {"and", '.', "Parse error: Unknown symbol: 'and'"},
        {"f\xc3\xb6\xc3\xb6 + 1", '.', "Parse error: Unknown symbol: 'f\xc3\xb6\xc3\xb6'"},
        {"x\xc2\xb7y\xe2\x80\xbf", '.', "Parse error: Unknown symbol: 'x\xc2\xb7y\xe2\x80\xbf'"},
        {"ab\xe2\x9c\x93", '.', "Parse error: Unknown symbol: 'ab'"},
        {"a\xc3", '.', "Parse error: Unknown symbol: 'a'"},
        {"DaysSince 5", '.', "Parse error: '(' and function's first parameter expected"},
        {"DaysSince(1,2)", '.', "Parse error: ')' to close function's parameters expected"},
        {"DaysSince(", '.', "Parse error: Factor expected"},
        {"1.5*2", ',', "'1.5' is not a valid floating point value"},
        {"0.1+0,2", ',', "'0.1' is not a valid floating point value"},
        {"1e", '.', "'1e' is not a valid floating point value"},
        {"2e+", '.', "'2e+' is not a valid floating point value"},
        {"1e5000", '.', "'1e5000' is not a valid floating point value"},
        {"7 div 0", '.', "Division by zero"},
        {"7 mod 0.4", '.', "Division by zero"},
        {"1/0", '.', "Floating point division by zero"},
        {"-1/0", '.', "Floating point division by zero"},
        {"0/0", '.', "Invalid floating point operation"},
        {"1e19 div 1", '.', "Invalid floating point operation"},
        {"bnot 1e19", '.', "Invalid floating point operation"},
        {"9223372036854775808 bor 0", '.', "Invalid floating point operation"},
        {"1 shl 1e30", '.', "Invalid floating point operation"},
        {"1e4000 * 1e4000", '.', "Floating point overflow"},
        {"1e4932 + 1e4932", '.', "Floating point overflow"},
        {"1e-4000 / 1e4000 + 1e4000 / 1e-4000", '.', "Floating point overflow"},
        {"DaysSince(1e400)", '.', "Floating point overflow"},
        {"DaysSince(1e300)", '.', "Invalid floating point operation"},
        {Nested("(", 257, "1", ")"), '.', "Parse error: Expression too deeply nested"},
        {Nested("-", 257, "1", ""), '.', "Parse error: Expression too deeply nested"},
        {Nested("DaysSince(", 257, "1", ")"), '.', "Parse error: Expression too deeply nested"},
        {Nested("bnot (", 129, "1", ")"), '.', "Parse error: Expression too deeply nested"},
        {Nested("(", 100000, "1", ")"), '.', "Parse error: Expression too deeply nested"},
    };
    const TGlobalEvaluator evaluator;
    for (const auto& c : cases) {
        EXPECT_EQ(Evaluate(evaluator, c.text, c.separator), TOutcome(c.message)) << c.text;
    }
}

TEST(Evaluator, CallsRegisteredFunctionsByNameWithoutRegardToCase) {
    TEvaluator evaluator;
    double received = 0;
    evaluator.AddFunc("Probe", [&](double argument) {
        received = argument;
        return 1.0L;
    });
    evaluator.AddFunc("twice", [](double argument) { return 2.0L * argument; });
    EXPECT_EQ(Evaluate(evaluator, "TWICE(4) + twice(0.5)", '.'), TOutcome(9.0L));
    EXPECT_EQ(Evaluate(evaluator, "probe(0.1)", '.'), TOutcome(1.0L));
    EXPECT_EQ(received, 0.1) << "the argument is reduced to a double";
    evaluator.AddFunc("TWICE", [](double argument) { return 3.0L * argument; });
    EXPECT_EQ(Evaluate(evaluator, "Twice(4)", '.'), TOutcome(12.0L)) << "a later registration replaces";
    EXPECT_EQ(Evaluate(evaluator, "twice", '.'),
              TOutcome(std::string("Parse error: '(' and function's first parameter expected")));
}

TEST(Evaluator, DaysSinceCountsWholeDaysToTheMillisecondEitherWay) {
    const TestClock clock(EncodeDateTime({2026, 12, 9, 12, 0, 0, 0}));
    const std::int64_t now = DateTimeToMSecs(Now());
    const std::int64_t hour = 3'600'000;
    const struct {
        std::int64_t offset;
        char separator;
        long double expected;
    } cases[] = {
        {0, '.', 0},
        {-36 * hour, '.', 1},
        {36 * hour, ',', 1},
        {-MSecsPerDay + 1, '.', 0},
        {-MSecsPerDay, '.', 1},
        {10 * MSecsPerDay, ',', 10},
        {-now, '.', static_cast<long double>(now / MSecsPerDay)},
    };
    for (const auto& c : cases) {
        const std::string serial = FloatToText(MSecsToDateTime(now + c.offset), c.separator);
        for (const char* call : {"DaysSince(%s)", "DAYSSINCE( %s )"}) {
            const std::string text = SprintF(call, serial);
            EXPECT_EQ(Evaluate(GlobalEvaluator(), text, c.separator), TOutcome(c.expected)) << text;
        }
    }
}

TEST(Evaluator, TheGlobalEvaluatorIsOneObject) {
    EXPECT_EQ(&GlobalEvaluator(), &GlobalEvaluator());
}

} // namespace
