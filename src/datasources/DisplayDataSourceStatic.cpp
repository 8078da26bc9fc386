#include "datasources/DisplayDataSourceStatic.h"

#include "platform/Clock.h"
#include "platform/DateTimeText.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsNow(const std::string& value) {
    constexpr std::string_view now = "now()";
    return std::ranges::equal(value, now, [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == static_cast<unsigned char>(b);
    });
}

} // namespace

TDisplayDataSourceStatic::TDisplayDataSourceStatic(const std::string& name, const std::string& configuration)
    : TDisplayDataSourceBase("TDisplayDataSourceStatic", name) {
    TDisplayDataSourceStatic::Reinitialize(configuration);
}

void TDisplayDataSourceStatic::Reinitialize(const std::string& configuration) {
    StaticValue = configuration;
    TDisplayDataSourceBase::Reinitialize(configuration);
}

bool TDisplayDataSourceStatic::RefreshData() {
    if (ValueType() == ValueType_Date && IsNow(StaticValue)) {
        Value.SetText(DateToText(Now()));
    } else if (ValueType() == ValueType_Time && IsNow(StaticValue)) {
        Value.SetText(TimeToText(Now()));
    } else {
        Value.SetText(StaticValue);
    }
    return true;
}
