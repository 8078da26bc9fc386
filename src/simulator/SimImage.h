#pragma once

#include "simulator/SimFrame.h"

#include <cstdint>
#include <vector>

// An 8-bit RGB picture, row by row.
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;
};

struct TRgb {
    std::uint8_t R, G, B;
    bool operator==(const TRgb&) const = default;
};

// How an LED of `color` looks at `brightness` (0 to 100); a dark LED stays faintly visible.
TRgb LedRgb(TLedColor color, int brightness);

// The frame as the display looks: round LEDs `zoom` pixels apart (1 to 32) on black.
TRgbImage RenderLeds(const TSimFrame& frame, int brightness, int zoom);
