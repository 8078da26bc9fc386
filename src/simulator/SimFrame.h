#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The colour of one LED; the numbers are those of the colour options.
enum class TLedColor : std::uint8_t { Off = 0, Red = 1, Green = 2, Yellow = 3 };

// What a display shows at one moment: one colour per LED, 16 rows of `Width` LEDs.
class TSimFrame {
public:
    static constexpr int Height = 16;

    explicit TSimFrame(int width);

    int Width() const { return FWidth; }
    // Off outside the frame.
    TLedColor At(int x, int y) const;
    // Ignored outside the frame, so drawing clips itself.
    void Set(int x, int y, TLedColor color);

    // One line per row, one character per LED: '.' off, 'R' red, 'G' green, 'Y' yellow.
    std::string ToText() const;

    bool operator==(const TSimFrame&) const = default;

private:
    bool Inside(int x, int y) const { return x >= 0 && x < FWidth && y >= 0 && y < Height; }

    int FWidth;
    std::vector<TLedColor> FLeds;
};
