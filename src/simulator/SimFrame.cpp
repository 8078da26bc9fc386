#include "simulator/SimFrame.h"

#include <cstddef>

TSimFrame::TSimFrame(int width)
    : FWidth(width), FLeds(static_cast<std::size_t>(width) * Height, TLedColor::Off) {}

TLedColor TSimFrame::At(int x, int y) const {
    return Inside(x, y) ? FLeds[static_cast<std::size_t>(y * FWidth + x)] : TLedColor::Off;
}

void TSimFrame::Set(int x, int y, TLedColor color) {
    if (Inside(x, y)) {
        FLeds[static_cast<std::size_t>(y * FWidth + x)] = color;
    }
}

std::string TSimFrame::ToText() const {
    static constexpr char Symbols[] = {'.', 'R', 'G', 'Y'};
    std::string text;
    text.reserve(static_cast<std::size_t>((FWidth + 1) * Height));
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < FWidth; ++x) {
            text += Symbols[static_cast<int>(At(x, y))];
        }
        text += '\n';
    }
    return text;
}
