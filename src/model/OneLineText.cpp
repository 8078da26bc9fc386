#include "model/OneLineText.h"

std::string OneLineText(std::string_view text) {
    std::string shown;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c != '\r' && c != '\n') {
            shown += c;
            continue;
        }
        if (c == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') {
            ++pos;
        }
        // A break that ends the text starts no line of its own.
        if (pos + 1 < text.size()) {
            shown += ' ';
        }
    }
    return shown;
}
