#pragma once

#include <QString>

#include <string>

// A text for a one-line field or list cell: line breaks, which such a field cannot show, become
// blanks between the lines, and the break after the last line is dropped.
QString OneLineText(const std::string& text);
