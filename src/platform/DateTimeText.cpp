#include "platform/DateTimeText.h"

#include "platform/Clock.h"
#include "platform/RegionalSettings.h"
#include "platform/SprintF.h"

#include <array>
#include <chrono>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

enum class TField {
    Literal,
    Day,
    Day2,
    Month,
    Month2,
    MonthShortName,
    MonthLongName,
    Year2,
    Year4,
    Hour,
    Hour2,
    Minute,
    Minute2,
    Second,
    Second2,
    Millisecond,
    Millisecond3,
    AmPm,
};

struct TFormatToken {
    TField Field = TField::Literal;
    std::string Text; // the literal text, or the AM/PM marker as written (its case is kept)
};

struct TFormat {
    std::vector<TFormatToken> Tokens;
    bool TwelveHour = false;
};

// Longest first, so that "mm" is not read as two "m".
constexpr std::array<std::pair<std::string_view, TField>, 17> FieldPatterns{{
    {"am/pm", TField::AmPm},
    {"yyyy", TField::Year4},
    {"yy", TField::Year2},
    {"mmmm", TField::MonthLongName},
    {"mmm", TField::MonthShortName},
    {"mm", TField::Month2},
    {"m", TField::Month},
    {"dd", TField::Day2},
    {"d", TField::Day},
    {"hh", TField::Hour2},
    {"h", TField::Hour},
    {"nn", TField::Minute2},
    {"n", TField::Minute},
    {"ss", TField::Second2},
    {"s", TField::Second},
    {"zzz", TField::Millisecond3},
    {"z", TField::Millisecond},
}};

constexpr std::array<std::string_view, 12> MonthNames{"January",   "February", "March",    "April",
                                                      "May",       "June",     "July",     "August",
                                                      "September", "October",  "November", "December"};

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[i]) != LowerAscii(prefix[i])) {
            return false;
        }
    }
    return true;
}

class TFormatParser {
public:
    explicit TFormatParser(std::string_view format) : FFormat(format) {}

    TFormat Parse() {
        while (FPos < FFormat.size()) {
            const char c = FFormat[FPos];
            if (c == '"' || c == '\'') {
                AddQuoted(c);
            } else if (!AddField()) {
                AddLiteral(std::string(1, c));
                ++FPos;
            }
        }
        return std::move(FResult);
    }

private:
    void AddQuoted(char quote) {
        const std::size_t closing = FFormat.find(quote, FPos + 1);
        const std::size_t end = closing == std::string_view::npos ? FFormat.size() : closing;
        AddLiteral(std::string(FFormat.substr(FPos + 1, end - FPos - 1)));
        FPos = closing == std::string_view::npos ? end : closing + 1;
    }

    bool AddField() {
        for (const auto& [pattern, field] : FieldPatterns) {
            if (StartsWithNoCase(FFormat.substr(FPos), pattern)) {
                FResult.Tokens.push_back(
                    {MinutesAfterHour(field), std::string(FFormat.substr(FPos, pattern.size()))});
                FResult.TwelveHour = FResult.TwelveHour || field == TField::AmPm;
                FLastField = FResult.Tokens.back().Field;
                FPos += pattern.size();
                return true;
            }
        }
        return false;
    }

    // An m or mm right after an hour, literals between them aside, means minutes.
    TField MinutesAfterHour(TField field) const {
        const bool afterHour = FLastField == TField::Hour || FLastField == TField::Hour2;
        if (afterHour && field == TField::Month) {
            return TField::Minute;
        }
        if (afterHour && field == TField::Month2) {
            return TField::Minute2;
        }
        return field;
    }

    void AddLiteral(const std::string& text) {
        if (!FResult.Tokens.empty() && FResult.Tokens.back().Field == TField::Literal) {
            FResult.Tokens.back().Text += text;
        } else {
            FResult.Tokens.push_back({TField::Literal, text});
        }
    }

    std::string_view FFormat;
    std::size_t FPos = 0;
    TField FLastField = TField::Literal;
    TFormat FResult;
};

std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

int TwelveHourClock(int hour) {
    return hour % 12 == 0 ? 12 : hour % 12;
}

std::string AmPmMarker(const std::string& written, bool pm) {
    const bool lowerCase = written.front() == 'a';
    if (pm) {
        return lowerCase ? "pm" : "PM";
    }
    return lowerCase ? "am" : "AM";
}

std::string FieldText(const TFormatToken& token, const TDateTimeParts& parts, bool twelveHour) {
    const int hour = twelveHour ? TwelveHourClock(parts.Hour) : parts.Hour;
    switch (token.Field) {
    case TField::Literal:
        return token.Text;
    case TField::Day:
    case TField::Day2:
        return Padded(parts.Day, token.Field == TField::Day2 ? 2 : 1);
    case TField::Month:
    case TField::Month2:
        return Padded(parts.Month, token.Field == TField::Month2 ? 2 : 1);
    case TField::MonthShortName:
        return std::string(MonthNames[static_cast<std::size_t>(parts.Month - 1)].substr(0, 3));
    case TField::MonthLongName:
        return std::string(MonthNames[static_cast<std::size_t>(parts.Month - 1)]);
    case TField::Year2:
        return Padded(parts.Year % 100, 2);
    case TField::Year4:
        return Padded(parts.Year, 4);
    case TField::Hour:
    case TField::Hour2:
        return Padded(hour, token.Field == TField::Hour2 ? 2 : 1);
    case TField::Minute:
    case TField::Minute2:
        return Padded(parts.Minute, token.Field == TField::Minute2 ? 2 : 1);
    case TField::Second:
    case TField::Second2:
        return Padded(parts.Second, token.Field == TField::Second2 ? 2 : 1);
    case TField::Millisecond:
    case TField::Millisecond3:
        return Padded(parts.Millisecond, token.Field == TField::Millisecond3 ? 3 : 1);
    case TField::AmPm:
        return AmPmMarker(token.Text, parts.Hour >= 12);
    }
    return {};
}

// The fields read from a text; a field the format does not have stays empty.
struct TReadFields {
    std::optional<int> Year, Month, Day, Hour, Minute, Second, Millisecond;
    std::optional<bool> Pm;
};

// Two-digit years 69-99 are 1969-1999, 00-68 are 2000-2068, as POSIX reads them.
int FullYear(int twoDigitYear) {
    return twoDigitYear < 69 ? 2000 + twoDigitYear : 1900 + twoDigitYear;
}

class TDateTimeReader {
public:
    explicit TDateTimeReader(std::string_view text) : FText(text) {}

    std::optional<TReadFields> Read(const TFormat& format) {
        TReadFields fields;
        for (const TFormatToken& token : format.Tokens) {
            if (!ReadToken(token, fields)) {
                return std::nullopt;
            }
        }
        if (FPos != FText.size()) {
            return std::nullopt;
        }
        return fields;
    }

private:
    bool ReadToken(const TFormatToken& token, TReadFields& fields) {
        switch (token.Field) {
        case TField::Literal:
            return ReadLiteral(token.Text);
        case TField::Day:
        case TField::Day2:
            return ReadNumber(2, fields.Day);
        case TField::Month:
        case TField::Month2:
            return ReadNumber(2, fields.Month);
        case TField::MonthShortName:
        case TField::MonthLongName:
            return ReadMonthName(token.Field == TField::MonthLongName, fields.Month);
        case TField::Year2:
        case TField::Year4:
            return ReadYear(fields.Year);
        case TField::Hour:
        case TField::Hour2:
            return ReadNumber(2, fields.Hour);
        case TField::Minute:
        case TField::Minute2:
            return ReadNumber(2, fields.Minute);
        case TField::Second:
        case TField::Second2:
            return ReadNumber(2, fields.Second);
        case TField::Millisecond:
        case TField::Millisecond3:
            return ReadNumber(3, fields.Millisecond);
        case TField::AmPm:
            return ReadAmPm(fields.Pm);
        }
        return false;
    }

    bool ReadLiteral(std::string_view literal) {
        if (FText.substr(FPos, literal.size()) != literal) {
            return false;
        }
        FPos += literal.size();
        return true;
    }

    std::size_t ReadDigits(std::size_t maxDigits, int& value) {
        std::size_t count = 0;
        value = 0;
        while (count < maxDigits && FPos < FText.size() && FText[FPos] >= '0' && FText[FPos] <= '9') {
            value = value * 10 + (FText[FPos++] - '0');
            ++count;
        }
        return count;
    }

    bool ReadNumber(std::size_t maxDigits, std::optional<int>& field) {
        int value = 0;
        if (ReadDigits(maxDigits, value) == 0) {
            return false;
        }
        field = value;
        return true;
    }

    bool ReadYear(std::optional<int>& year) {
        int value = 0;
        const std::size_t digits = ReadDigits(4, value);
        if (digits != 2 && digits != 4) {
            return false;
        }
        year = digits == 2 ? FullYear(value) : value;
        return true;
    }

    bool ReadMonthName(bool longName, std::optional<int>& month) {
        for (std::size_t i = 0; i < MonthNames.size(); ++i) {
            const std::string_view name = longName ? MonthNames[i] : MonthNames[i].substr(0, 3);
            if (StartsWithNoCase(FText.substr(FPos), name)) {
                FPos += name.size();
                month = static_cast<int>(i) + 1;
                return true;
            }
        }
        return false;
    }

    bool ReadAmPm(std::optional<bool>& pm) {
        for (const std::string_view marker : {"am", "pm"}) {
            if (StartsWithNoCase(FText.substr(FPos), marker)) {
                FPos += marker.size();
                pm = marker == "pm";
                return true;
            }
        }
        return false;
    }

    std::string_view FText;
    std::size_t FPos = 0;
};

bool InRange(const std::optional<int>& value, int low, int high) {
    return !value || (*value >= low && *value <= high);
}

int CurrentYear() {
    return DecodeDateTime(Now()).Year;
}

// The date-time of the fields read; a text without date fields is a time of day on day 0.
std::optional<TDateTime> ToDateTime(const TReadFields& fields, bool twelveHour) {
    TDateTimeParts parts;
    if (fields.Year || fields.Month || fields.Day) {
        parts.Year = fields.Year.value_or(CurrentYear());
        parts.Month = fields.Month.value_or(1);
        parts.Day = fields.Day.value_or(1);
        using namespace std::chrono;
        const year_month_day date{year{parts.Year}, month{static_cast<unsigned>(parts.Month)},
                                  day{static_cast<unsigned>(parts.Day)}};
        if (parts.Year < 1 || parts.Year > 9999 || !date.ok()) {
            return std::nullopt;
        }
    }
    if (twelveHour ? !InRange(fields.Hour, 1, 12) : !InRange(fields.Hour, 0, 23)) {
        return std::nullopt;
    }
    if (!InRange(fields.Minute, 0, 59) || !InRange(fields.Second, 0, 59) ||
        !InRange(fields.Millisecond, 0, 999)) {
        return std::nullopt;
    }
    const int hour = fields.Hour.value_or(0);
    parts.Hour = twelveHour ? hour % 12 + (fields.Pm.value_or(false) ? 12 : 0) : hour;
    parts.Minute = fields.Minute.value_or(0);
    parts.Second = fields.Second.value_or(0);
    parts.Millisecond = fields.Millisecond.value_or(0);
    return EncodeDateTime(parts);
}

std::optional<TDateTime> ReadWithFormat(std::string_view text, std::string_view format) {
    const TFormat parsed = TFormatParser(format).Parse();
    const std::optional<TReadFields> fields = TDateTimeReader(text).Read(parsed);
    return fields ? ToDateTime(*fields, parsed.TwelveHour) : std::nullopt;
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

std::string FormatDateTime(std::string_view format, TDateTime value) {
    const TFormat parsed = TFormatParser(format).Parse();
    const TDateTimeParts parts = DecodeDateTime(value);
    std::string text;
    for (const TFormatToken& token : parsed.Tokens) {
        text += FieldText(token, parts, parsed.TwelveHour);
    }
    return text;
}

std::string DateToText(TDateTime value) {
    return FormatDateTime(RegionalSettings().ShortDateFormat, value);
}

std::string TimeToText(TDateTime value) {
    return FormatDateTime(RegionalSettings().LongTimeFormat, value);
}

bool TryTextToDateTime(std::string_view text, TDateTime& value) {
    const TRegionalSettings& settings = RegionalSettings();
    const std::string formats[] = {
        settings.ShortDateFormat,
        settings.LongTimeFormat,
        settings.ShortDateFormat + " " + settings.LongTimeFormat,
        "yyyy-mm-dd",
        "yyyy-mm-dd hh:nn",
        "yyyy-mm-dd hh:nn:ss",
        "yyyy-mm-dd\"T\"hh:nn",
        "yyyy-mm-dd\"T\"hh:nn:ss",
    };
    const std::string_view trimmed = TrimBlanks(text);
    for (const std::string& format : formats) {
        if (const std::optional<TDateTime> read = ReadWithFormat(trimmed, format)) {
            value = *read;
            return true;
        }
    }
    return false;
}

std::string IsoDateTimeText(TDateTime value) {
    const TDateTimeParts parts = DecodeDateTime(value);
    std::tm local{};
    local.tm_year = parts.Year - 1900;
    local.tm_mon = parts.Month - 1;
    local.tm_mday = parts.Day;
    local.tm_hour = parts.Hour;
    local.tm_min = parts.Minute;
    local.tm_sec = parts.Second;
    local.tm_isdst = -1;
    // mktime settles the time zone and summer time of that moment, and with them the offset.
    const long offset = std::mktime(&local) == -1 ? 0 : local.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    return SprintF("%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", parts.Year, parts.Month, parts.Day,
                   parts.Hour, parts.Minute, parts.Second, parts.Millisecond, offset < 0 ? '-' : '+',
                   minutes / 60, minutes % 60);
}
