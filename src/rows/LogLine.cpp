#include "rows/LogLine.h"

#include "platform/Encoding.h"
#include "platform/SprintF.h"

namespace {

// A character that could end the line or steer a terminal: C0, DEL, C1 and the Unicode line and
// paragraph separators.
bool IsControl(char32_t character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F) || character == 0x2028 ||
           character == 0x2029;
}

std::string EscapeOf(char32_t character) {
    switch (character) {
    case '\r':
        return "\\r";
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    default:
        return SprintF(character < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(character));
    }
}

// `text` with every control character written as a visible escape, so that it stays one line and
// cannot forge another. A byte that is no part of UTF-8 shows as \xNN; every other character,
// letters such as å included, stays as it is.
std::string WithVisibleControls(std::string_view text) {
    std::string visible;
    visible.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto sequence = Utf8SequenceAt(text, pos);
        if (!sequence) {
            visible += SprintF("\\x%02x", static_cast<unsigned char>(text[pos]));
            ++pos;
            continue;
        }
        const auto [character, length] = *sequence;
        if (IsControl(character)) {
            visible += EscapeOf(character);
        } else {
            visible.append(text, pos, length);
        }
        pos += length;
    }
    return visible;
}

} // namespace

std::string LogLineText(const std::string& source, const std::string& msg) {
    return WithVisibleControls(SprintF("%s :%s", source, msg));
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
