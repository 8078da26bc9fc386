#pragma once

#include <cstdint>

// Date-time values are serial day numbers: whole days since 30 December 1899 plus the
// time of day as a fraction, in local time. 0 means "never".
using TDateTime = double;

constexpr std::int64_t MSecsPerDay = 86'400'000;

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

TDateTime EncodeDateTime(const TDateTimeParts& parts);
TDateTimeParts DecodeDateTime(TDateTime value);

// Milliseconds since 30 December 1899, rounded to the nearest millisecond.
std::int64_t DateTimeToMSecs(TDateTime value);
TDateTime MSecsToDateTime(std::int64_t msecs);

// Whole milliseconds between two values, never negative.
std::int64_t MillisecondsBetween(TDateTime a, TDateTime b);
