#pragma once

#include "platform/DateTime.h"

#include <string>

class TDisplayDataSourceBase;
class TLocalViewModel;

// The operator may give a static source a new date from the data-source page.

bool IsStaticDatasource(const TDisplayDataSourceBase* source);

// The date to offer for a static source: its first value line read as a date-time, or now when
// it has no value. Fails with "'%s' is not a valid date and time" for any other value.
TDateTime StaticDateOf(const TDisplayDataSourceBase& source);

// Gives the static source `name` the date of `date` in the user's short date format, without a
// time; stores the source's record in the model and runs one collection pass, so the displays
// have the new value at once. False, with nothing changed, when there is no such static source.
bool SaveStaticDate(TLocalViewModel& model, const std::string& name, TDateTime date);

// Gives the static source `name` the value `text`, as SaveStaticDate does with its date's text.
bool SetStaticValue(TLocalViewModel& model, const std::string& name, const std::string& text);
