#include "platform/DateTime.h"

#include <chrono>
#include <cmath>
#include <cstdlib>

namespace {

using namespace std::chrono;

constexpr sys_days Epoch = sys_days{year{1899} / December / 30};

} // namespace

TDateTime EncodeDateTime(const TDateTimeParts& parts) {
    const sys_days date{year{parts.Year} / month{static_cast<unsigned>(parts.Month)} /
                        day{static_cast<unsigned>(parts.Day)}};
    const std::int64_t days = (date - Epoch).count();
    const std::int64_t msecs =
        ((static_cast<std::int64_t>(parts.Hour) * 60 + parts.Minute) * 60 + parts.Second) * 1000 +
        parts.Millisecond;
    return MSecsToDateTime(days * MSecsPerDay + msecs);
}

TDateTimeParts DecodeDateTime(TDateTime value) {
    const std::int64_t total = DateTimeToMSecs(value);
    std::int64_t days = total / MSecsPerDay;
    std::int64_t msecs = total % MSecsPerDay;
    if (msecs < 0) {
        msecs += MSecsPerDay;
        --days;
    }
    const year_month_day ymd{Epoch + std::chrono::days{days}};
    TDateTimeParts parts;
    parts.Year = static_cast<int>(ymd.year());
    parts.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    parts.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    parts.Millisecond = static_cast<int>(msecs % 1000);
    parts.Second = static_cast<int>(msecs / 1000 % 60);
    parts.Minute = static_cast<int>(msecs / 60'000 % 60);
    parts.Hour = static_cast<int>(msecs / 3'600'000);
    return parts;
}

std::int64_t DateTimeToMSecs(TDateTime value) {
    return std::llround(value * static_cast<double>(MSecsPerDay));
}

TDateTime MSecsToDateTime(std::int64_t msecs) {
    return static_cast<double>(msecs) / static_cast<double>(MSecsPerDay);
}

std::int64_t MillisecondsBetween(TDateTime a, TDateTime b) {
    return std::llabs(DateTimeToMSecs(a) - DateTimeToMSecs(b));
}
