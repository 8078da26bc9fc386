#pragma once

#include <array>
#include <string_view>

// The messages the expression language fails with (the parse errors and the invalid number
// carry a detail after or around these texts).
inline bool IsEvaluationError(std::string_view message) {
    constexpr std::array<std::string_view, 5> whole = {
        "Floating point overflow", "Invalid floating point operation", "Floating point division by zero",
        "Division by zero", "Expression too long"};
    for (const std::string_view known : whole) {
        if (message == known) {
            return true;
        }
    }
    return message.starts_with("Parse error: ") ||
           (message.starts_with('\'') && message.ends_with("' is not a valid floating point value"));
}
