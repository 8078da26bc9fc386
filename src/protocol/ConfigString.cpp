#include "protocol/ConfigString.h"

#include <algorithm>

namespace {

constexpr char Quote = '"';

// Reads the quoted string that starts at `pos` and leaves `pos` after its closing quote.
std::string ReadQuoted(std::string_view text, std::size_t& pos) {
    std::string content;
    for (++pos; pos < text.size(); ++pos) {
        if (text[pos] != Quote) {
            content += text[pos];
        } else if (pos + 1 < text.size() && text[pos + 1] == Quote) {
            content += Quote;
            ++pos;
        } else {
            ++pos;
            break;
        }
    }
    return content;
}

// Reads up to the next separator and leaves `pos` on it (or at the end).
std::string ReadPlain(std::string_view text, std::size_t& pos) {
    const std::size_t end = std::min(text.find(ConfigStringSeparator, pos), text.size());
    std::string piece(text.substr(pos, end - pos));
    pos = end;
    return piece;
}

} // namespace

std::vector<std::string> SplitConfigString(std::string_view configString) {
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    while (pos < configString.size()) {
        pieces.push_back(configString[pos] == Quote ? ReadQuoted(configString, pos)
                                                    : ReadPlain(configString, pos));
        if (pos < configString.size() && configString[pos] == ConfigStringSeparator) {
            ++pos;
            if (pos == configString.size()) {
                pieces.emplace_back();
            }
        }
    }
    return pieces;
}
