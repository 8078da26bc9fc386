#pragma once

#include "simulator/SimFrame.h"

#include <cstdint>
#include <string>

// One area of the virtual display, as the area options left it. Texts are the bytes received,
// one Latin-1 character each.
struct TSimArea {
    enum TAlign : std::uint8_t { Align_Left = 0, Align_Right = 1, Align_Center = 2 };
    enum TVAlign : std::uint8_t { VAlign_Top = 0, VAlign_Bottom = 1, VAlign_Center = 2 };

    // Set by a text, cleared by a clear: only a shown area is drawn.
    bool Shown = false;
    // Left, top, width and height; a width or height of -1 reaches to the display's edge.
    int X = 0, Y = 0, W = -1, H = -1;
    int Font = 0;
    TLedColor Foreground = TLedColor::Red;
    TLedColor Background = TLedColor::Off;
    TAlign Align = Align_Left;
    TVAlign VAlign = VAlign_Center;
    // 0 still, 1 to 16 ever faster.
    int ScrollSpeed = 0;
    bool Blink = false;
    std::string Text;
    // When the text, geometry or font last changed: scrolling and blinking count from here.
    std::int64_t Since = 0;
};

// Draws a shown area into `frame` at `nowMs`: its background over its rectangle (clipped to the
// display), then its text, aligned, or scrolling from right to left when it is wider than the
// area and has a scroll speed.
void DrawArea(const TSimArea& area, std::int64_t nowMs, TSimFrame& frame);

// Whether a shown area's text is wider than the part of the area on a display `displayWidth` LEDs
// wide and stands still, so that its end is never seen.
bool TextCutOff(const TSimArea& area, int displayWidth);
