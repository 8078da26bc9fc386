#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Where each row area sits on the display and which showing areas it overlaps.

struct TClearCheck {
    // The row area that is cleared when it is showing.
    std::uint8_t Area;
    // The command that clears it: its display area ("-scN") and "-dc", ending in "|".
    const char* Command;
};

struct TRowAreaLayout {
    // In the order the clearing commands go out.
    std::vector<TClearCheck> Checks;
    // Display area, "-sg" with four numbers, and font.
    const char* GeometryTemplate;
};

// The layout of a row area code; nullptr for codes above 8.
const TRowAreaLayout* RowAreaLayout(std::uint8_t size);

// The four "-sg" numbers of a row area (0 to 8) on a display `width` pixels wide.
std::array<int, 4> RowAreaGeometry(std::uint8_t size, int width);
