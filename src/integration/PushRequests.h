#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TConfigurationRow;

// The documents that outside requests carry, read the same way whatever carried them. Each fails
// with EVorlixError saying what is wrong.

// The largest document accepted.
constexpr std::size_t MaxRequestBytes = 64 * 1024;

// A value's text as its lines, split at line breaks; none may hold '|' or control characters.
std::vector<std::string> SourceValueLines(const std::string& text);

// {"value": "text"} (its lines, as SourceValueLines) or {"lines": ["a", "b"]}.
std::vector<std::string> ReadSourceValue(std::string_view body);

// {"text": "...", "area": 2, "align": 0, "color": 1, "background": 0, "scroll": 0, "ms": 5000}: only
// the text is needed; the rest are the row editor's defaults for a new row.
std::unique_ptr<TConfigurationRow> ReadNotification(std::string_view body);
