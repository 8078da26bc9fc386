#pragma once

#include <string>
#include <string_view>
#include <vector>

// Several command lines travel as one configuration string, joined with '|'.
constexpr char ConfigStringSeparator = '|';

// Splits a configuration string into its command lines at every '|'. Pieces may be empty; a '|'
// at the very start or end yields an empty first or last piece, and an empty string no piece.
// A piece that begins with a double quote is a quoted string: its content up to the closing
// quote ("" standing for one quote, '|' included) is the piece, and whatever follows the closing
// quote up to the next '|' is a further piece. Without a closing quote the rest of the string
// is the content.
std::vector<std::string> SplitConfigString(std::string_view configString);
