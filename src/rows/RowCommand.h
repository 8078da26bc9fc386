#pragma once

#include "rows/RowOptions.h"

#include <cstdint>
#include <string>

// What a row puts on the display.
struct TRowCommandOptions {
    std::uint8_t Size = 0;
    std::uint8_t Align = 0;
    std::uint8_t BackgroundColor = 0;
    std::uint8_t ForegroundColor = 0;
    std::uint8_t Scrollspeed = 0;
    bool TextIsParameter = false;
    std::string Text;
};

// The command string of a row on a display `width` pixels wide: clearing commands for the
// showing areas the row overlaps (they leave `lastShowedAreas`), the area's geometry and font,
// colours, alignment, scroll speed and text, every item followed by a space, ending in two spaces.
// The row's own area joins `lastShowedAreas`.
std::string BuildRowCommand(const TRowCommandOptions& row, std::uint16_t width,
                            TCBFontSizes& lastShowedAreas);
