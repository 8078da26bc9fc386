#pragma once

#include "platform/DateTime.h"

#include <string>
#include <string_view>

// Formats with the letters of the user's formats: d dd (day), m mm mmm mmmm (month), yy yyyy,
// h hh, n nn (minutes; m right after h also means minutes), s ss, z zzz, AM/PM; other characters
// and "quoted" text are copied.
std::string FormatDateTime(std::string_view format, TDateTime value);

// Today's date in the user's short date format; the time in the user's long time format.
std::string DateToText(TDateTime value);
std::string TimeToText(TDateTime value);

// ISO 8601 with milliseconds and the local time's offset from UTC: 2026-12-09T14:30:05.250+01:00.
std::string IsoDateTimeText(TDateTime value);

// Reads what the user's short date format, long time format, and date followed by a blank and time
// produce, and ISO 8601 dates with an optional time (2026-12-09, 2026-12-09 14:30, 2026-12-09T14:30:05).
bool TryTextToDateTime(std::string_view text, TDateTime& value);
