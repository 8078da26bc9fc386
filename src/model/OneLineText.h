#pragma once

#include <string>
#include <string_view>

// A text for a one-line field or list cell: line breaks (CR LF, CR or LF), which such a field
// cannot show, become blanks between the lines, and the break after the last line is dropped.
std::string OneLineText(std::string_view text);
