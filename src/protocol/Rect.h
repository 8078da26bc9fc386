#pragma once

// A rectangle in display pixels: Right is Left plus the width, Bottom is Top plus the height.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    bool operator==(const TRect&) const = default;
};
