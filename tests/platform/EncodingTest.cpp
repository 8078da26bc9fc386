#include "platform/Encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TConversionCase {
    std::string Input;
    std::string Expected;
};

void PrintTo(const TConversionCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.Input);
}

const std::string Utf8Bom = "\xEF\xBB\xBF";
const std::string Lodz = "\xC5\x81\xC3\xB3\x64\xC5\xBA"; // "Łódź" in UTF-8

class DecodeTextTest : public testing::TestWithParam<TConversionCase> {};

TEST_P(DecodeTextTest, DecodesToUtf8) {
    EXPECT_EQ(DecodeText(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, DecodeTextTest,
    testing::Values(TConversionCase{"", ""}, TConversionCase{"plain ASCII\r\n", "plain ASCII\r\n"},
                    // Windows-1252: å ä ö, and the euro sign and curly quotes of the 0x80 to 0x9F block.
                    TConversionCase{"\xE5\xE4\xF6 \x80 \x93x\x94",
                                    "\xC3\xA5\xC3\xA4\xC3\xB6 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"},
                    // UTF-8 with and without a byte-order mark.
                    TConversionCase{Utf8Bom + Lodz, Lodz}, TConversionCase{Lodz, Lodz},
                    // One malformed byte makes the whole text Windows-1252.
                    TConversionCase{"\xC3\xA5 \xE9", "\xC3\x83\xC2\xA5 \xC3\xA9"},
                    // Overlong forms and encoded surrogates are not UTF-8 either.
                    TConversionCase{"\xC0\xAF", "\xC3\x80\xC2\xAF"},
                    TConversionCase{"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
                    // UTF-16 little- and big-endian, with a surrogate pair (U+1F600).
                    TConversionCase{std::string("\xFF\xFE\x41\x01\xF3\x00\x64\x00\x7A\x01", 10), Lodz},
                    TConversionCase{std::string("\xFE\xFF\x01\x41\x00\xF3\x00\x64\x01\x7A", 10), Lodz},
                    TConversionCase{std::string("\xFF\xFE\x3D\xD8\x00\xDE", 6), "\xF0\x9F\x98\x80"},
                    // An unpaired surrogate and a dangling odd byte become U+FFFD.
                    TConversionCase{std::string("\xFF\xFE\x3D\xD8\x41\x00\x42", 7), "\xEF\xBF\xBD"
                                                                                    "A"
                                                                                    "\xEF\xBF\xBD"}));

class AsciiBestFitTest : public testing::TestWithParam<TConversionCase> {};

TEST_P(AsciiBestFitTest, ReducesToAscii) {
    EXPECT_EQ(Utf8ToAsciiBestFit(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, AsciiBestFitTest,
    testing::Values(TConversionCase{"Hej 123 ~", "Hej 123 ~"},
                    TConversionCase{"\xC3\xA5\xC3\xA4\xC3\xB6\xC3\x85\xC3\x84\xC3\x96", "aaoAAO"}, // åäöÅÄÖ
                    TConversionCase{"\xC3\xA9\xC3\xBC\xC3\xA6\xC3\x86\xC3\x9F", "euaeAEss"}, // éüæÆß
                    TConversionCase{Lodz, "Lodz"},
                    // First and last of the letter table: À and ſ; Œ and œ in between.
                    TConversionCase{"\xC3\x80\xC5\xBF\xC5\x92\xC5\x93", "AsOEoe"},
                    TConversionCase{"\xE2\x80\x9CHej\xE2\x80\x9D \xE2\x80\x93 \xC2\xA0x", "'Hej' -  x"},
                    // Every typographic quote, single or double, becomes the apostrophe: „‟‘’‚‛.
                    TConversionCase{
                        "\xE2\x80\x9E\xE2\x80\x9F\xE2\x80\x98\xE2\x80\x99\xE2\x80\x9A\xE2\x80\x9B", "''''''"},
                    // Curly quotes as stray Windows-1252 bytes, in a JSON string.
                    TConversionCase{"{\"citat\": \"Han sa \x94hej\x93\"}", "{\"citat\": \"Han sa 'hej'\"}"},
                    // Euro sign, CJK, emoji: no substitute.
                    TConversionCase{"\xE2\x82\xAC\xE6\x97\xA5\xF0\x9F\x98\x80", "???"},
                    // A stray byte is read as its Windows-1252 letter.
                    TConversionCase{"caf\xE9", "cafe"}));

// Every character from U+0080 up, as UTF-8, surrogates left out.
std::string EveryNonAsciiCharacter() {
    std::string text;
    for (char32_t c = 0x80; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

TEST(EncodingTest, NoCharacterIsReducedToAQuoteOrBackslash) {
    const std::string allCharacters = EveryNonAsciiCharacter();
    std::string strayBytes;
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        strayBytes += static_cast<char>(byte);
    }
    for (const std::string& reduced : {Utf8ToAsciiBestFit(allCharacters), Utf8ToAsciiBestFit(strayBytes),
                                       Utf8ToWindows1252(allCharacters)}) {
        EXPECT_EQ(reduced.find_first_of("\"\\"), std::string::npos);
    }
}

TEST(EncodingTest, Windows1252KeepsItsOwnCharactersAndBestFitsTheRest) {
    // å and € have bytes; Ł and ź do not; 日 has no substitute; a stray 0xE9 is é.
    EXPECT_EQ(Utf8ToWindows1252("\xC3\xA5\xE2\x82\xAC" + Lodz + "\xE6\x97\xA5\xE9"), "\xE5\x80"
                                                                                     "L\xF3"
                                                                                     "dz?\xE9");
}

TEST(EncodingTest, Latin1KeepsCharactersBelow256Only) {
    EXPECT_EQ(Utf8ToLatin1("\xC3\xA5\xC3\xBF\xE2\x82\xAC" + Lodz), "\xE5\xFF??\xF3"
                                                                   "d?");
}

TEST(EncodingTest, EncodeTextPicksWindows1252WhenEveryCharacterHasAByte) {
    EXPECT_EQ(EncodeText("ASCII only\r\n"), "ASCII only\r\n");
    EXPECT_EQ(EncodeText("\xC3\xA5\xC3\xA4\xC3\xB6 \xE2\x82\xAC"), "\xE5\xE4\xF6 \x80");
}

TEST(EncodingTest, EncodeTextFallsBackToUtf8WithByteOrderMark) {
    EXPECT_EQ(EncodeText(Lodz), Utf8Bom + Lodz);
}

TEST(EncodingTest, EncodedTextReadsBackUnchanged) {
    const std::string texts[] = {
        "",
        "null\r\n",
        "\xC3\xA5\xC3\xA4\xC3\xB6",
        Lodz,
        "\xC3\x83\xC2\xA5",         // "Ã¥": its Windows-1252 bytes would read as UTF-8 "å"
        "\xC3\xAF\xC2\xBB\xC2\xBF", // "ï»¿": its Windows-1252 bytes would be a byte-order mark
        "\xC3\xBF\xC3\xBEx",        // "ÿþx": a UTF-16 byte-order mark in Windows-1252
        "\xEF\xBB\xBF"
        "starts with U+FEFF",
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(DecodeText(EncodeText(text)), text) << testing::PrintToString(text);
    }
}

TEST(EncodingTest, MalformedUtf8IsEncodedAsItsWindows1252Reading) {
    const std::string encoded = EncodeText("\xC5\x81 \xE9");
    EXPECT_EQ(encoded, Utf8Bom + "\xC5\x81 \xC3\xA9");
}

} // namespace
