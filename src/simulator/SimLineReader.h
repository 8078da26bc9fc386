#pragma once

#include <string>
#include <string_view>
#include <vector>

// Cuts the bytes of one connection into command lines as a display does: a line ends at a
// carriage return or a line feed (which suits a person typing into a terminal), and empty lines
// are dropped, so CR LF ends one line. A line longer than MaxLineLength keeps its start and loses
// the rest.
class TSimLineReader {
public:
    static constexpr std::size_t MaxLineLength = 4096;

    // The lines completed by `bytes`; an unfinished line waits for the next bytes.
    std::vector<std::string> Feed(std::string_view bytes);

private:
    std::string FLine;
};
