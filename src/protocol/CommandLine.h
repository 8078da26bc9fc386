#pragma once

#include <string>
#include <string_view>
#include <vector>

// One option of a command line: "-sg0,0,64,8" has the key "sg" and the value "0,0,64,8".
struct TCommandToken {
    std::string Key;
    std::string Value;

    bool operator==(const TCommandToken&) const = default;
};

// The options of one command line, in order, as a display reads them. Options are separated by
// spaces; each is a minus sign, a key of lower-case letters and the value written right after
// it. The text option "t" is the exception: a value that opens with a double quote runs to the
// last double quote of the line, so a text may hold spaces and quotes of its own, and without a
// closing quote to the end of the line. Anything that is not an option is skipped.
std::vector<TCommandToken> SplitCommandLine(std::string_view line);
