#pragma once

#include <string>
#include <string_view>

// The general number text: at most 15 significant digits, rounded to nearest, trailing zeros
// dropped, the decimal separator only when a fraction remains; scientific form (1.5E+20, 1E-6)
// for magnitudes of 1E15 and above or below 1E-5.
std::string FloatToText(long double value, char decimalSeparator);
// The same with the user's decimal separator (RegionalSettings()).
std::string FloatToText(long double value);

// Reads a number written with `decimalSeparator` (optional sign, digits, optional fraction,
// optional exponent; surrounding blanks allowed). False when the text is not such a number.
bool TryTextToFloat(std::string_view text, char decimalSeparator, long double& value);
