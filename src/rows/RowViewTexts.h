#pragma once

#include <functional>
#include <string>

class TConfigurationRow;

// Answers the current value text of the data source named `str`.
using TFrameDatasourceQuery = std::function<std::string(const std::string& str)>;

// The texts a row view shows for a row, one per column.
struct TRowViewTexts {
    // A parameter row shows "name(value)" when `query` is set, otherwise the bare name.
    static TRowViewTexts Of(const TConfigurationRow& row, const TFrameDatasourceQuery& query);

    std::string Text;
    std::string Font;
    std::string Align;
    std::string FgColor;
    std::string BgColor;
    std::string Scroll;
    std::string Timeout;
};
