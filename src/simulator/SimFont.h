#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

// A display font: one glyph of Width x Height pixels per Latin-1 character (the byte a display
// receives), read from a glyph table. Characters sit side by side with Spacing dark columns
// between them.
class TSimFont {
public:
    // Reads a glyph table: a header with "size W H" and "spacing S", then per glyph a line
    // "U+XXXX" (optionally followed by the character) and H rows of W characters, '#' lit and
    // '.' dark. Blank lines and, outside glyphs, lines starting with '#' are skipped.
    // Throws EVorlixError naming the line of the first fault.
    static TSimFont Parse(std::string_view table);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int Spacing() const { return FSpacing; }

    bool Has(unsigned char code) const { return !FGlyphs[code].empty(); }
    // Whether pixel (x, y) of the glyph for `code` is lit; a character the font lacks is drawn
    // as '?'.
    bool Lit(unsigned char code, int x, int y) const;
    // Pixels that `characters` characters take side by side.
    int TextWidth(std::size_t characters) const;

private:
    TSimFont(int width, int height, int spacing) : FWidth(width), FHeight(height), FSpacing(spacing) {}

    int FWidth;
    int FHeight;
    int FSpacing;
    // Per character one bit row per pixel row, bit x for column x; empty when missing.
    std::array<std::vector<std::uint8_t>, 256> FGlyphs;
};

// The display's fonts by their number in the font option: 0 the 5 x 7 font, 1 the 8 x 16 font,
// 2 the 8 x 15 font; nullptr for any other number.
const TSimFont* DisplayFont(int number);
