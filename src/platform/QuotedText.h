#pragma once

#include <string>
#include <string_view>

// `text` in double quotes, each double quote inside doubled, so that it reads back whole.
inline std::string DoubleQuoted(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}
