#include "simulator/SimFont.h"

#include "platform/VorlixError.h"

#include <gtest/gtest.h>

namespace {

struct FontCase {
    int Number;
    int Width, Height, Spacing;
};

class DisplayFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(DisplayFontTest, HasItsSizeAndEveryPrintableAsciiAndLatin1Letter) {
    const TSimFont* font = DisplayFont(GetParam().Number);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->Width(), GetParam().Width);
    EXPECT_EQ(font->Height(), GetParam().Height);
    EXPECT_EQ(font->Spacing(), GetParam().Spacing);
    for (int code = 0x20; code <= 0xFF; ++code) {
        if (code <= 0x7E || code >= 0xC0) {
            EXPECT_TRUE(font->Has(static_cast<unsigned char>(code))) << "U+" << std::hex << code;
        }
    }
}

TEST_P(DisplayFontTest, DrawsLettersAsTheirOwnShapes) {
    const TSimFont& font = *DisplayFont(GetParam().Number);
    const auto pixels = [&](unsigned char code) {
        std::string bits;
        for (int y = 0; y < font.Height(); ++y) {
            for (int x = 0; x < font.Width(); ++x) {
                bits += font.Lit(code, x, y) ? '#' : '.';
            }
        }
        return bits;
    };
    EXPECT_EQ(pixels(' ').find('#'), std::string::npos);
    // The accented letters differ from their base letter and from each other.
    const std::string a = pixels('A');
    for (const unsigned char accented : {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5}) {
        EXPECT_NE(pixels(accented), a);
    }
    EXPECT_NE(pixels(0xC4), pixels(0xC5));
    EXPECT_NE(pixels(0xE4), pixels(0xF6));
    // A character the font lacks is drawn as '?'.
    EXPECT_EQ(pixels(0x01), pixels('?'));
}

INSTANTIATE_TEST_SUITE_P(Fonts, DisplayFontTest,
                         ::testing::Values(FontCase{0, 5, 7, 1}, FontCase{1, 8, 16, 0},
                                           FontCase{2, 8, 15, 0}));

TEST(DisplayFontTest, OnlyThreeFontsExist) {
    EXPECT_EQ(DisplayFont(3), nullptr);
    EXPECT_EQ(DisplayFont(-1), nullptr);
}

TEST(SimFontTest, TextWidthCountsTheGapsBetweenCharacters) {
    const TSimFont& small = *DisplayFont(0);
    EXPECT_EQ(small.TextWidth(0), 0);
    EXPECT_EQ(small.TextWidth(1), 5);
    EXPECT_EQ(small.TextWidth(10), 59);
    EXPECT_EQ(DisplayFont(1)->TextWidth(8), 64);
}

TEST(SimFontTest, ReadsATable) {
    const TSimFont font =
        TSimFont::Parse("# two glyphs\nsize 2 2\nspacing 1\n\nU+003F ?\n#.\n.#\r\nU+0041\n##\n..\n");
    EXPECT_EQ(font.Width(), 2);
    EXPECT_TRUE(font.Lit('A', 1, 0));
    EXPECT_FALSE(font.Lit('A', 1, 1));
    EXPECT_TRUE(font.Lit('?', 1, 1));
    EXPECT_FALSE(font.Lit('A', 2, 0)) << "outside the glyph";
}

struct BadTable {
    const char* Table;
    const char* Message;
};

class BadTableTest : public ::testing::TestWithParam<BadTable> {};

TEST_P(BadTableTest, NamesTheLineAtFault) {
    try {
        TSimFont::Parse(GetParam().Table);
        FAIL() << "accepted";
    } catch (const EVorlixError& error) {
        EXPECT_STREQ(error.what(), GetParam().Message);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BadTableTest,
    ::testing::Values(
        BadTable{"", "Glyph table line 0: expected \"size\""},
        BadTable{"size 2\nspacing 0\n", "Glyph table line 1: \"size\" needs 2 numbers"},
        BadTable{"size 2 x\n", "Glyph table line 1: not a number"},
        BadTable{"size 9 7\nspacing 0\n", "Glyph table line 2: size or spacing out of range"},
        BadTable{"size 1 1\nspacing 0\nA\n#\n",
                 "Glyph table line 3: expected a Latin-1 code point \"U+XXXX\""},
        BadTable{"size 1 1\nspacing 0\nU+0100\n#\n",
                 "Glyph table line 3: expected a Latin-1 code point \"U+XXXX\""},
        BadTable{"size 2 1\nspacing 0\nU+003F\n#\n", "Glyph table line 4: expected a row of 2 '#' or '.'"},
        BadTable{"size 1 1\nspacing 0\nU+003F\nx\n", "Glyph table line 4: expected a row of 1 '#' or '.'"},
        BadTable{"size 1 2\nspacing 0\nU+003F\n#\n", "Glyph table line 4: expected a row of 1 '#' or '.'"},
        BadTable{"size 1 1\nspacing 0\nU+003F\n#\nU+003F\n.\n", "Glyph table line 5: glyph defined twice"},
        BadTable{"size 1 1\nspacing 0\nU+0041\n#\n", "Glyph table line 4: the table has no '?'"}));

} // namespace
