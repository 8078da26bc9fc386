#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

TEST(NumberText, WritesFifteenSignificantDigitsInFixedOrScientificForm) {
    const struct {
        long double value;
        char separator;
        std::string expected;
    } cases[] = {
        {0, '.', "0"},
        {-0.0L, '.', "0"},
        {100, '.', "100"},
        {12.5L, '.', "12.5"},
        {12.5L, ',', "12,5"},
        {-12.5L, ',', "-12,5"},
        {0.1L + 0.2L, '.', "0.3"},
        {1.0L / 3, '.', "0.333333333333333"},
        {2.0L / 3, '.', "0.666666666666667"},
        {42005.5L, ',', "42005,5"},
        {123456789012345.0L, '.', "123456789012345"},
        {1234567890123456.0L, '.', "1.23456789012346E+15"},
        {999999999999999.9L, '.', "1E+15"},
        {1e15L, '.', "1E+15"},
        {1.5e20L, '.', "1.5E+20"},
        {1.5e20L, ',', "1,5E+20"},
        {-2.5e15L, '.', "-2.5E+15"},
        {1e100L, '.', "1E+100"},
        {1e-5L, '.', "0.00001"},
        {1.5e-5L, '.', "0.000015"},
        {0.000123456789012345678L, '.', "0.000123456789012346"},
        {9.9999999999999999e-6L, '.', "0.00001"},
        {1e-6L, '.', "1E-6"},
        {-1.25e-7L, ',', "-1,25E-7"},
        {1e-4000L, '.', "1E-4000"},
        {std::numeric_limits<long double>::infinity(), '.', "INF"},
        {-std::numeric_limits<long double>::infinity(), '.', "-INF"},
        {std::numeric_limits<long double>::quiet_NaN(), '.', "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloatToText(c.value, c.separator), c.expected) << "expected " << c.expected;
    }
}

TEST(NumberText, WritesWithTheInstalledDecimalSeparator) {
    EXPECT_EQ(FloatToText(2.25L), "2.25");
    const TScopedRegionalSettings comma(TRegionalSettings{.DecimalSeparator = ','});
    EXPECT_EQ(FloatToText(2.25L), "2,25");
    EXPECT_EQ(FloatToText(3e20L), "3E+20");
}

TEST(NumberText, ReadsNumbersWrittenWithTheGivenSeparator) {
    const struct {
        std::string text;
        char separator;
        long double expected;
    } cases[] = {
        {"12.5", '.', 12.5L},
        {"12,5", ',', 12.5L},
        {" -3 ", '.', -3},
        {"+4", '.', 4},
        {"0.1", '.', 0.1L},
        {"1e3", '.', 1000},
        {"1E-2", '.', 0.01L},
        {"2,5e+2", ',', 250},
        {".5", '.', 0.5L},
        {"5.", '.', 5},
        {"007", '.', 7},
        {"1e-5000", '.', 0},
        {"1.18973149535723176502e+4932", '.', std::numeric_limits<long double>::max()},
    };
    for (const auto& c : cases) {
        long double value = -1;
        EXPECT_TRUE(TryTextToFloat(c.text, c.separator, value)) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }
    long double negativeZero = 1;
    ASSERT_TRUE(TryTextToFloat("-1e-5000", '.', negativeZero));
    EXPECT_TRUE(negativeZero == 0 && std::signbit(negativeZero)) << "underflow keeps the sign";
}

// Plain digits take a shorter way than numbers with a sign or an exponent; both must give the
// nearest value of the extended type.
TEST(NumberText, ReadsPlainDigitsToTheNearestValue) {
    const std::string texts[] = {"0.1", "2.675", "123.456", "0.0000000000000000001", "0.1234567890123456789",
                                 "9999999999999999999", "99999999999999999999", "1234567890.123456789",
                                 "3.14159265358979323846", "18446744073709551615", "7"};
    for (const std::string& text : texts) {
        long double nearest = 0;
        std::from_chars(text.data(), text.data() + text.size(), nearest);
        for (const char separator : {'.', ','}) {
            std::string written = text;
            std::replace(written.begin(), written.end(), '.', separator);
            long double value = 0;
            ASSERT_TRUE(TryTextToFloat(written, separator, value)) << written;
            EXPECT_EQ(value, nearest) << written;
        }
    }
}

TEST(NumberText, RejectsTextThatIsNotSuchANumberAndLeavesTheValue) {
    const struct {
        std::string text;
        char separator;
    } cases[] = {
        {"", '.'},
        {"   ", '.'},
        {"abc", '.'},
        {"12.5", ','},
        {"12,5", '.'},
        {".", '.'},
        {"-", '.'},
        {"1e", '.'},
        {"1e+", '.'},
        {"1 2", '.'},
        {"--1", '.'},
        {"1x", '.'},
        {"0x10", '.'},
        {"inf", '.'},
        {"nan", '.'},
        {"1e5000", '.'},
        {"1.2.3", '.'},
        {"1,000.5", '.'},
        {std::string("1\0", 2), '.'},
    };
    for (const auto& c : cases) {
        long double value = 42;
        EXPECT_FALSE(TryTextToFloat(c.text, c.separator, value)) << c.text;
        EXPECT_EQ(value, 42) << c.text;
    }
}

TEST(NumberText, ReadsBackWhatItWrites) {
    for (const char separator : {'.', ','}) {
        for (const long double value : {0.3L, -42005.125L, 1.5e20L, 1e-6L, 123456789012345.0L}) {
            long double read = 0;
            ASSERT_TRUE(TryTextToFloat(FloatToText(value, separator), separator, read));
            EXPECT_EQ(FloatToText(read, separator), FloatToText(value, separator));
        }
    }
}

} // namespace
