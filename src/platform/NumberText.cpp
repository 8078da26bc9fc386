#include "platform/NumberText.h"

#include "platform/RegionalSettings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

constexpr int SignificantDigits = 15;
// Decimal exponents written in fixed form: magnitudes from 1E-5 up to, not including, 1E15.
constexpr int MinFixedExponent = -5;
constexpr int MaxFixedExponent = 14;

// A positive value as significant digits d1 d2 ... (no trailing zeros) and the exponent of d1.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;
};

TDecimal RoundToSignificantDigits(long double magnitude) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::scientific, SignificantDigits - 1);
    const std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t exponentMark = text.find('e');
    TDecimal decimal;
    for (const char c : text.substr(0, exponentMark)) {
        if (c != '.') {
            decimal.Digits += c;
        }
    }
    decimal.Digits.erase(decimal.Digits.find_last_not_of('0') + 1);
    std::string_view exponent = text.substr(exponentMark + 1);
    if (exponent.front() == '+') {
        exponent.remove_prefix(1);
    }
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.Exponent);
    return decimal;
}

std::string FixedText(const TDecimal& decimal, char decimalSeparator) {
    if (decimal.Exponent < 0) {
        return "0" + std::string(1, decimalSeparator) +
               std::string(static_cast<std::size_t>(-decimal.Exponent - 1), '0') + decimal.Digits;
    }
    const auto integerDigits = static_cast<std::size_t>(decimal.Exponent) + 1;
    if (decimal.Digits.size() <= integerDigits) {
        return decimal.Digits + std::string(integerDigits - decimal.Digits.size(), '0');
    }
    return decimal.Digits.substr(0, integerDigits) + decimalSeparator + decimal.Digits.substr(integerDigits);
}

std::string ScientificText(const TDecimal& decimal, char decimalSeparator) {
    std::string text = decimal.Digits.substr(0, 1);
    if (decimal.Digits.size() > 1) {
        text += decimalSeparator + decimal.Digits.substr(1);
    }
    return text + (decimal.Exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(decimal.Exponent));
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Digits with at most one separator, 19 digits at most: the digits and the power of ten are
// exact in the extended type, so one division gives the correctly rounded value, the same as
// the general reader's, at a fraction of its cost. Expressions are full of such numbers.
std::optional<long double> PlainDecimal(std::string_view text, char decimalSeparator) {
    constexpr int MaxDigits = 19;
    std::uint64_t digits = 0;
    int digitCount = 0;
    int fractionDigits = 0;
    bool inFraction = false;
    for (const char c : text) {
        if (IsDigit(c)) {
            if (++digitCount > MaxDigits) {
                return std::nullopt;
            }
            digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
            fractionDigits += inFraction ? 1 : 0;
        } else if (c == decimalSeparator && !inFraction) {
            inFraction = true;
        } else {
            return std::nullopt;
        }
    }
    if (digitCount == 0) {
        return std::nullopt;
    }
    long double scale = 1;
    for (int i = 0; i < fractionDigits; ++i) {
        scale *= 10;
    }
    return static_cast<long double>(digits) / scale;
}

// A number checked against the grammar and rewritten for std::from_chars ('.' as separator, no '+'
// sign), with the decimal exponent of its first non-zero digit (to tell underflow from overflow).
struct TNumberSyntax {
    std::string Normalized;
    long LeadingExponent = 0;
    bool Negative = false;
};

class TNumberScanner {
public:
    TNumberScanner(std::string_view text, char decimalSeparator)
        : FText(text), FDecimalSeparator(decimalSeparator) {}

    bool Scan(TNumberSyntax& syntax) {
        syntax.Negative = Peek() == '-';
        if (Peek() == '+' || Peek() == '-') {
            ++FPos;
        }
        syntax.Normalized = syntax.Negative ? "-" : "";
        const std::string_view integerDigits = Digits();
        std::string_view fractionDigits;
        if (Peek() == FDecimalSeparator) {
            ++FPos;
            fractionDigits = Digits();
        }
        if (integerDigits.empty() && fractionDigits.empty()) {
            return false;
        }
        syntax.Normalized += std::string(integerDigits) + "." + std::string(fractionDigits);
        long exponent = 0;
        if (Peek() == 'e' || Peek() == 'E') {
            ++FPos;
            const std::size_t exponentStart = FPos;
            if (Peek() == '+' || Peek() == '-') {
                ++FPos;
            }
            const std::string_view exponentDigits = Digits();
            if (exponentDigits.empty()) {
                return false;
            }
            syntax.Normalized += "e" + std::string(FText.substr(exponentStart, FPos - exponentStart));
            exponent = SaturatedExponent(FText[exponentStart] == '-', exponentDigits);
        }
        syntax.LeadingExponent = exponent + LeadingDigitExponent(integerDigits, fractionDigits);
        return FPos == FText.size();
    }

private:
    char Peek() const { return FPos < FText.size() ? FText[FPos] : '\0'; }

    std::string_view Digits() {
        const std::size_t start = FPos;
        while (IsDigit(Peek())) {
            ++FPos;
        }
        return FText.substr(start, FPos - start);
    }

    static long SaturatedExponent(bool negative, std::string_view digits) {
        constexpr long Limit = 1'000'000;
        long value = 0;
        for (const char c : digits) {
            value = std::min(Limit, value * 10 + (c - '0'));
        }
        return negative ? -value : value;
    }

    static long LeadingDigitExponent(std::string_view integerDigits, std::string_view fractionDigits) {
        const std::size_t inInteger = integerDigits.find_first_not_of('0');
        if (inInteger != std::string_view::npos) {
            return static_cast<long>(integerDigits.size() - inInteger) - 1;
        }
        const std::size_t inFraction = fractionDigits.find_first_not_of('0');
        return inFraction == std::string_view::npos ? 0 : -static_cast<long>(inFraction) - 1;
    }

    std::string_view FText;
    char FDecimalSeparator;
    std::size_t FPos = 0;
};

} // namespace

std::string FloatToText(long double value, char decimalSeparator) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-INF" : "INF";
    }
    if (value == 0) {
        return "0";
    }
    const TDecimal decimal = RoundToSignificantDigits(std::fabs(value));
    const bool fixed = decimal.Exponent >= MinFixedExponent && decimal.Exponent <= MaxFixedExponent;
    return (value < 0 ? "-" : "") +
           (fixed ? FixedText(decimal, decimalSeparator) : ScientificText(decimal, decimalSeparator));
}

std::string FloatToText(long double value) {
    return FloatToText(value, RegionalSettings().DecimalSeparator);
}

bool TryTextToFloat(std::string_view text, char decimalSeparator, long double& value) {
    if (const auto plain = PlainDecimal(text, decimalSeparator)) {
        value = *plain;
        return true;
    }
    TNumberSyntax syntax;
    if (!TNumberScanner(TrimBlanks(text), decimalSeparator).Scan(syntax)) {
        return false;
    }
    long double parsed = 0;
    const char* end = syntax.Normalized.data() + syntax.Normalized.size();
    const auto result = std::from_chars(syntax.Normalized.data(), end, parsed);
    if (result.ec == std::errc::result_out_of_range && syntax.LeadingExponent < 0) {
        // Too small for the extended range: it becomes zero, as arithmetic underflow does.
        value = syntax.Negative ? -0.0L : 0.0L;
        return true;
    }
    if (result.ec != std::errc{} || result.ptr != end) {
        return false;
    }
    value = parsed;
    return true;
}
