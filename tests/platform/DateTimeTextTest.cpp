#include "platform/DateTimeText.h"
#include "platform/RegionalSettings.h"
#include "support/TestClock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
             int millisecond = 0) {
    return EncodeDateTime({year, month, day, hour, minute, second, millisecond});
}

TDateTime TimeOfDay(int hour, int minute, int second) {
    return At(1899, 12, 30, hour, minute, second);
}

TEST(DateTimeText, FormatsWithTheFormatLetters) {
    const TDateTime afternoon = At(2026, 3, 5, 14, 5, 9, 7);
    const struct {
        std::string format;
        TDateTime value;
        std::string expected;
    } cases[] = {
        {"yyyy-mm-dd", afternoon, "2026-03-05"},
        {"YYYY-MM-DD", afternoon, "2026-03-05"},
        {"d/m/yy", afternoon, "5/3/26"},
        {"dd.mm.yyyy hh:nn:ss", afternoon, "05.03.2026 14:05:09"},
        {"h:n:s", afternoon, "14:5:9"},
        {"hh:mm", afternoon, "14:05"},
        {"hh:nn mm", afternoon, "14:05 03"},
        {"hh:nn:ss dd/mm", afternoon, "14:05:09 05/03"},
        {"h:nn:ss AM/PM", afternoon, "2:05:09 PM"},
        {"hh:nn am/pm", afternoon, "02:05 pm"},
        {"h:nn AM/PM", At(2026, 3, 5, 0, 30), "12:30 AM"},
        {"h:nn AM/PM", At(2026, 3, 5, 12, 0), "12:00 PM"},
        {"mmm d, yyyy", afternoon, "Mar 5, 2026"},
        {"d mmmm", afternoon, "5 March"},
        {"hh\"h\"nn", afternoon, "14h05"},
        {"'at' hh", afternoon, "at 14"},
        {"hh:nn:ss.zzz", afternoon, "14:05:09.007"},
        {"s.z", afternoon, "9.7"},
        {"yyyy-mm-dd hh:nn:ss", 0, "1899-12-30 00:00:00"},
        {"dd.mm.yyyy", At(1, 1, 1), "01.01.0001"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatDateTime(c.format, c.value), c.expected) << c.format;
    }
}

TEST(DateTimeText, DateAndTimeTextsUseTheUserFormats) {
    const TDateTime value = At(2026, 12, 9, 7, 30, 5);
    const TScopedRegionalSettings settings(TRegionalSettings{
        .DecimalSeparator = ',', .ShortDateFormat = "dd.mm.yyyy", .LongTimeFormat = "h:nn:ss AM/PM"});
    EXPECT_EQ(DateToText(value), "09.12.2026");
    EXPECT_EQ(TimeToText(value), "7:30:05 AM");
}

const TRegionalSettings Iso{
    .DecimalSeparator = '.', .ShortDateFormat = "yyyy-mm-dd", .LongTimeFormat = "hh:nn:ss"};
const TRegionalSettings German{
    .DecimalSeparator = ',', .ShortDateFormat = "dd.mm.yyyy", .LongTimeFormat = "hh:nn:ss"};
const TRegionalSettings American{
    .DecimalSeparator = '.', .ShortDateFormat = "mm/dd/yy", .LongTimeFormat = "h:nn:ss AM/PM"};

TEST(DateTimeText, ReadsTheUserFormatsAndIsoDates) {
    const struct {
        const TRegionalSettings& settings;
        std::string text;
        std::optional<TDateTime> expected;
    } cases[] = {
        {Iso, "2026-12-09", At(2026, 12, 9)},
        {Iso, "14:30:05", TimeOfDay(14, 30, 5)},
        {Iso, "2026-12-09 14:30:05", At(2026, 12, 9, 14, 30, 5)},
        {Iso, "  2026-12-09 ", At(2026, 12, 9)},
        {Iso, "2024-02-29", At(2024, 2, 29)},
        {German, "09.12.2026", At(2026, 12, 9)},
        {German, "9.12.2026", At(2026, 12, 9)},
        {German, "09.12.2026 14:30:05", At(2026, 12, 9, 14, 30, 5)},
        {German, "2026-12-09", At(2026, 12, 9)},
        {German, "2026-12-09 14:30", At(2026, 12, 9, 14, 30)},
        {German, "2026-12-09T14:30:05", At(2026, 12, 9, 14, 30, 5)},
        {American, "12/09/26", At(2026, 12, 9)},
        {American, "12/09/70", At(1970, 12, 9)},
        {American, "2:30:05 PM", TimeOfDay(14, 30, 5)},
        {American, "12:00:00 am", TimeOfDay(0, 0, 0)},
        {American, "12:00:00 PM", TimeOfDay(12, 0, 0)},
        {American, "12/09/26 2:30:05 pm", At(2026, 12, 9, 14, 30, 5)},
        {Iso, "", std::nullopt},
        {Iso, "abc", std::nullopt},
        {Iso, "2026-13-01", std::nullopt},
        {Iso, "2026-02-30", std::nullopt},
        {Iso, "2023-02-29", std::nullopt},
        {Iso, "0000-01-01", std::nullopt},
        {Iso, "25:00:00", std::nullopt},
        {Iso, "14:60:00", std::nullopt},
        {Iso, "2026-12-09 14:30 extra", std::nullopt},
        {Iso, "2026-12-09T", std::nullopt},
        {Iso, "2026-12-09  14:30:05", std::nullopt},
        {Iso, "26-12-09", At(2026, 12, 9)},
        {German, "31.04.2026", std::nullopt},
        {German, "12/09/26", std::nullopt},
        {American, "13:00:00 PM", std::nullopt},
        {American, "14:30:05", std::nullopt},
    };
    for (const auto& c : cases) {
        const TScopedRegionalSettings settings(c.settings);
        TDateTime value = -1;
        const bool read = TryTextToDateTime(c.text, value);
        EXPECT_EQ(read, c.expected.has_value()) << "'" << c.text << "' in " << c.settings.ShortDateFormat;
        EXPECT_EQ(value, c.expected.value_or(-1)) << "'" << c.text << "' in " << c.settings.ShortDateFormat;
    }
}

TEST(DateTimeText, ReadsBackWhatTheUserFormatsWrite) {
    const TDateTime value = At(2031, 1, 2, 23, 4, 5);
    for (const TRegionalSettings& user : {Iso, German, American}) {
        const TScopedRegionalSettings settings(user);
        TDateTime read = 0;
        ASSERT_TRUE(TryTextToDateTime(DateToText(value) + " " + TimeToText(value), read))
            << user.ShortDateFormat;
        EXPECT_EQ(read, value) << user.ShortDateFormat;
    }
}

TEST(DateTimeText, ADateFormatWithoutYearReadsTheCurrentYear) {
    const TestClock clock(At(2027, 6, 1, 8, 0, 0));
    const TScopedRegionalSettings settings(TRegionalSettings{.ShortDateFormat = "dd/mm"});
    TDateTime value = 0;
    ASSERT_TRUE(TryTextToDateTime("05/03", value));
    EXPECT_EQ(value, At(2027, 3, 5));
}

} // namespace
