#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// The general number text: at most 15 significant digits, rounded to nearest, trailing zeros
// dropped, the decimal separator only when a fraction remains; scientific form (1.5E+20, 1E-6)
// for magnitudes of 1E15 and above or below 1E-5.
std::string FloatToText(long double value, char decimalSeparator);
// The same with the user's decimal separator (RegionalSettings()).
std::string FloatToText(long double value);

// Reads a number written with `decimalSeparator` (optional sign, digits, optional fraction,
// optional exponent; surrounding blanks allowed). False when the text is not such a number.
bool TryTextToFloat(std::string_view text, char decimalSeparator, long double& value);

// An integer that fills the whole text (digits in `base`, a minus sign for signed types, no
// blanks); nothing when the text is anything else or the value does not fit `T`.
template <typename T>
std::optional<T> WholeNumber(std::string_view text, int base = 10) {
    T value{};
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}
