#include "datasources/ValueList.h"

#include "platform/QuotedText.h"

namespace {

bool NeedsQuotes(const std::string& line, bool strictDelimiter) {
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == ',' || (!strictDelimiter && byte >= 0x01 && byte <= 0x20)) {
            return true;
        }
    }
    return false;
}

} // namespace

void TValueList::SetText(const std::string& text) {
    FLines.clear();
    if (text.empty()) {
        return;
    }
    if (FLineBreak.empty()) {
        FLines.push_back(text);
        return;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            FLines.push_back(text.substr(start));
            return;
        }
        FLines.push_back(text.substr(start, end - start));
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
}

std::string TValueList::Text() const {
    std::string text;
    for (const auto& line : FLines) {
        text += line;
        text += FLineBreak;
    }
    return text;
}

std::string TValueList::DelimitedText() const {
    if (FLines.size() == 1 && FLines.front().empty()) {
        return "\"\"";
    }
    std::string text;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += NeedsQuotes(FLines[i], FStrictDelimiter) ? DoubleQuoted(FLines[i]) : FLines[i];
    }
    return text;
}
