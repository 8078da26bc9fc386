#include "protocol/CommandLine.h"

namespace {

bool IsKeyLetter(char c) {
    return c >= 'a' && c <= 'z';
}

// The quoted text starting at `line[open]`; `end` becomes the position after it.
std::string QuotedText(std::string_view line, std::size_t open, std::size_t& end) {
    const std::size_t close = line.rfind('"');
    if (close == open) {
        end = line.size();
        return std::string(line.substr(open + 1));
    }
    end = close + 1;
    return std::string(line.substr(open + 1, close - open - 1));
}

} // namespace

std::vector<TCommandToken> SplitCommandLine(std::string_view line) {
    std::vector<TCommandToken> tokens;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (line[pos] != '-') {
            const std::size_t space = line.find(' ', pos);
            pos = space == std::string_view::npos ? line.size() : space + 1;
            continue;
        }
        std::size_t keyEnd = pos + 1;
        while (keyEnd < line.size() && IsKeyLetter(line[keyEnd])) {
            ++keyEnd;
        }
        TCommandToken token{std::string(line.substr(pos + 1, keyEnd - pos - 1)), {}};
        std::size_t end = 0;
        if (token.Key == "t" && keyEnd < line.size() && line[keyEnd] == '"') {
            token.Value = QuotedText(line, keyEnd, end);
        } else {
            end = std::min(line.find(' ', keyEnd), line.size());
            token.Value = std::string(line.substr(keyEnd, end - keyEnd));
        }
        if (!token.Key.empty()) {
            tokens.push_back(std::move(token));
        }
        pos = end;
    }
    return tokens;
}
