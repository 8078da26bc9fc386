#include "rows/LogLine.h"

#include "platform/SprintF.h"

std::string LogLineText(const std::string& source, const std::string& msg) {
    return SprintF("%s :%s", source, msg);
}

std::string LogLineCopyText(std::string_view line) {
    const std::size_t colon = line.rfind(':');
    if (colon == std::string_view::npos || colon == 0) {
        return std::string(line);
    }
    constexpr std::string_view trimmed = ": ";
    std::string_view text = line.substr(colon);
    const std::size_t first = text.find_first_not_of(trimmed);
    if (first == std::string_view::npos) {
        return {};
    }
    text = text.substr(first, text.find_last_not_of(trimmed) - first + 1);
    return std::string(text);
}
