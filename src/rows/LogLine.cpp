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

bool IsErrorLogMessage(std::string_view msg) {
    const std::size_t first = msg.find_first_not_of(' ');
    const std::string_view text = first == std::string_view::npos ? std::string_view() : msg.substr(first);
    return text.starts_with("ERROR:") || text.starts_with("Error ") || text.starts_with("Exception ");
}
