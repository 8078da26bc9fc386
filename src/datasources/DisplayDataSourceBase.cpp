#include "datasources/DisplayDataSourceBase.h"

#include "config/VDataSource.h"
#include "datasources/DisplayDataSourceFile.h"
#include "datasources/DisplayDataSourceJSON.h"
#include "datasources/DisplayDataSourceREST.h"
#include "datasources/DisplayDataSourceStatic.h"
#include "datasources/DisplayDatasourceExpression.h"
#include "platform/Clock.h"
#include "platform/DateTimeText.h"
#include "platform/NumberText.h"
#include "platform/RegionalSettings.h"
#include "platform/VorlixError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string_view>

namespace {

std::unique_ptr<TDisplayDataSourceBase> CreateByType(int dataSourceType, const std::string& name,
                                                     const std::string& configuration) {
    switch (dataSourceType) {
    case DisplayDataSourceType_Static:
        return std::make_unique<TDisplayDataSourceStatic>(name, configuration);
    case DisplayDataSourceType_File:
        return std::make_unique<TDisplayDataSourceFile>(name, configuration);
    case DisplayDataSourceType_REST:
        return std::make_unique<TDisplayDataSourceREST>(name);
    case DisplayDataSourceType_JSON:
        return std::make_unique<TDisplayDataSourceJSON>(name, configuration);
    case DisplayDataSourceType_Expression:
        return std::make_unique<TDisplayDatasourceExpression>(name, configuration);
    default:
        return nullptr;
    }
}

// Leading blanks, an optional sign, then decimal digits, or hexadecimal digits after $, x, X, 0x or 0X,
// up to the end. Hexadecimal numbers are 32-bit patterns, so $FFFFFFFF is -1.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    int base = 10;
    for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
        if (text.starts_with(prefix)) {
            base = 16;
            text.remove_prefix(prefix.size());
            break;
        }
    }
    std::uint64_t magnitude = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, magnitude, base);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    const std::uint64_t limit = base == 16 ? std::numeric_limits<std::uint32_t>::max()
                                : negative ? std::uint64_t{1} << 31
                                           : std::numeric_limits<std::int32_t>::max();
    if (magnitude > limit) {
        return std::nullopt;
    }
    const auto pattern = static_cast<std::uint32_t>(magnitude);
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
}

} // namespace

TDisplayDataSourceBase::TDisplayDataSourceBase(const std::string& className, const std::string& name)
    : TDLogObject(className) {
    SetName(name);
}

std::unique_ptr<TDisplayDataSourceBase> TDisplayDataSourceBase::CreateDerived(const TVDataSource& record) {
    auto source = CreateDerived(record.Name(), record.DataSourceType(), record.Configuration(),
                                record.Timeout(), static_cast<TValueType>(record.ValueType()));
    if (source) {
        source->SetDescription(record.Description());
        source->SetPublicChangable(record.PublicChangeable());
    }
    return source;
}

std::unique_ptr<TDisplayDataSourceBase>
TDisplayDataSourceBase::CreateDerived(const std::string& name, int dataSourceType,
                                      const std::string& configuration, std::int64_t timeoutMsec,
                                      TValueType valueType) {
    auto source = CreateByType(dataSourceType, name, configuration);
    if (source) {
        source->SetValueType(valueType);
        source->SetTimeoutMsec(timeoutMsec);
        source->FLastConfiguration = configuration;
        source->SetPublicChangable(false);
        source->SetDescription({});
    }
    return source;
}

void TDisplayDataSourceBase::Reinitialize(const std::string& /*configuration*/) {
    LastTimeout = 0;
}

bool TDisplayDataSourceBase::RefreshData() {
    if (FTimeout <= 0) {
        return false;
    }
    const TDateTime now = Now();
    if (MillisecondsBetween(now, LastTimeout) <= FTimeout) {
        return false;
    }
    LastTimeout = now;
    Value.Clear();
    return true;
}

void TDisplayDataSourceBase::AssignToJson(TVDataSource& record) const {
    record.SetName(Name());
    record.SetDescription(Description());
    record.SetPublicChangeable(PublicChangable());
    record.SetDataSourceType(static_cast<std::uint16_t>(GetDataSourceType()));
    record.SetValueType(ValueType());
    // The record holds the interval in 16 bits.
    record.SetTimeout(static_cast<std::uint16_t>(std::clamp<std::int64_t>(TimeoutMsec(), 0, 65535)));
    record.SetConfiguration(GetConfiguration());
    record.ResetChanged();
}

std::int32_t TDisplayDataSourceBase::AsInteger(std::uint8_t index, std::int32_t defaultValue) const {
    if (index >= Value.Count()) {
        return defaultValue;
    }
    return ParseInteger(Value[index]).value_or(defaultValue);
}

double TDisplayDataSourceBase::AsDouble(std::uint8_t index, double defaultValue) const {
    long double value = 0;
    // A number beyond double's range (1e400) is no double at all.
    if (index >= Value.Count() || !TryTextToFloat(Value[index], RegionalSettings().DecimalSeparator, value) ||
        std::fabs(value) > std::numeric_limits<double>::max()) {
        return defaultValue;
    }
    return static_cast<double>(value);
}

TDateTime TDisplayDataSourceBase::AsDateTime(std::uint8_t index, TDateTime defaultValue) const {
    if (defaultValue == 0) {
        defaultValue = Now();
    }
    if (index >= Value.Count()) {
        return defaultValue;
    }
    TDateTime value = 0;
    if (!TryTextToDateTime(Value[index], value)) {
        throw EVorlixError(SprintF("'%s' is not a valid date and time", Value[index]));
    }
    return value;
}

void TDisplayDataSourceBase::SetName(const std::string& name) {
    FName = StripBrackets(name);
}

std::string StripBrackets(const std::string& name) {
    const std::size_t first = name.find_first_not_of("[]");
    return first == std::string::npos ? std::string{}
                                      : name.substr(first, name.find_last_not_of("[]") - first + 1);
}
