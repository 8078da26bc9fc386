#include "simulator/SimImage.h"

#include <algorithm>

namespace {

constexpr TRgb Black{0, 0, 0};
constexpr TRgb DarkLed{38, 38, 38};
// Even at brightness 0 a lit LED glows a little.
constexpr int LowestGlowPercent = 20;

TRgb Lit(TLedColor color) {
    switch (color) {
    case TLedColor::Red:
        return {255, 40, 24};
    case TLedColor::Green:
        return {40, 230, 64};
    default:
        return {255, 200, 32};
    }
}

std::uint8_t Dim(std::uint8_t value, int percent) {
    return static_cast<std::uint8_t>(value * percent / 100);
}

} // namespace

TRgb LedRgb(TLedColor color, int brightness) {
    if (color == TLedColor::Off) {
        return DarkLed;
    }
    const int percent = LowestGlowPercent + (100 - LowestGlowPercent) * std::clamp(brightness, 0, 100) / 100;
    const TRgb full = Lit(color);
    return {Dim(full.R, percent), Dim(full.G, percent), Dim(full.B, percent)};
}

TRgbImage RenderLeds(const TSimFrame& frame, int brightness, int zoom) {
    zoom = std::clamp(zoom, 1, 32);
    TRgbImage image{frame.Width() * zoom, TSimFrame::Height * zoom, {}};
    image.Pixels.resize(static_cast<std::size_t>(image.Width * image.Height) * 3);
    // A pixel belongs to the LED when its centre lies within the LED's radius.
    const double centre = zoom / 2.0;
    const double radius = zoom * 0.42;
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const double dx = x % zoom + 0.5 - centre;
            const double dy = y % zoom + 0.5 - centre;
            const bool onLed = zoom == 1 || dx * dx + dy * dy <= radius * radius;
            const TRgb rgb = onLed ? LedRgb(frame.At(x / zoom, y / zoom), brightness) : Black;
            std::uint8_t* pixel = &image.Pixels[static_cast<std::size_t>(y * image.Width + x) * 3];
            pixel[0] = rgb.R;
            pixel[1] = rgb.G;
            pixel[2] = rgb.B;
        }
    }
    return image;
}
