#include "platform/Encoding.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LeBom = "\xFF\xFE";
constexpr std::string_view Utf16BeBom = "\xFE\xFF";
constexpr char32_t ReplacementCharacter = 0xFFFD;

// The characters of the Windows-1252 bytes 0x80 to 0x9F; the five bytes without one stand for
// the C1 control of the same number, as Windows maps them.
constexpr std::array<char32_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Windows1252Character(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : byte;
}

std::optional<char> Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    const auto found = std::find(Windows1252High.begin(), Windows1252High.end(), c);
    if (found == Windows1252High.end()) {
        return std::nullopt;
    }
    return static_cast<char>(0x80 + (found - Windows1252High.begin()));
}

// ASCII substitutes for U+00C0 to U+017F, one per character, separated by blanks.
constexpr std::string_view LatinLetterSubstitutes =
    "A A A A A A AE C E E E E I I I I D N O O O O O x O U U U U Y TH ss "
    "a a a a a a ae c e e e e i i i i d n o o o o o ? o u u u u y th y "
    "A a A a A a C c C c C c C c D d D d E e E e E e E e E e G g G g "
    "G g G g H h H h I i I i I i I i I i IJ ij J j K k k L l L l L l L "
    "l L l N n N n N n n N n O o O o O o OE oe R r R r R r S s S s S s "
    "S s T t T t T t U u U u U u U u U u U u W w Y y Y Z z Z z Z z s";
constexpr char32_t FirstLatinLetter = 0xC0;

const std::vector<std::string_view>& LatinLetterSubstituteTable() {
    static const std::vector<std::string_view> table = [] {
        std::vector<std::string_view> entries;
        std::size_t start = 0;
        while (start < LatinLetterSubstitutes.size()) {
            const std::size_t end =
                std::min(LatinLetterSubstitutes.find(' ', start), LatinLetterSubstitutes.size());
            entries.push_back(LatinLetterSubstitutes.substr(start, end - start));
            start = end + 1;
        }
        return entries;
    }();
    return table;
}

// The ASCII text that stands in for `c`, or empty when there is none.
std::string_view AsciiSubstitute(char32_t c) {
    const auto& letters = LatinLetterSubstituteTable();
    if (c >= FirstLatinLetter && c < FirstLatinLetter + letters.size()) {
        return letters[c - FirstLatinLetter];
    }
    switch (c) {
    case 0x00A0:
        return " ";
    case 0x00AB:
    case 0x2039:
        return "<";
    case 0x00BB:
    case 0x203A:
        return ">";
    case 0x00AD:
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2015:
        return "-";
    // Double quotes too become the apostrophe: no substitute may be '"' or '\', which would change
    // the meaning of the JSON text or display line that the reduced text goes into.
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
        return "'";
    case 0x2026:
        return "...";
    default:
        return {};
    }
}

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The lead byte of a multi-byte UTF-8 sequence: (lead & Mask) == Value.
struct TUtf8Form {
    unsigned char Mask;
    unsigned char Value;
    std::size_t Length;
    char32_t Smallest; // anything below is an overlong form
};
constexpr std::array<TUtf8Form, 3> MultiByteForms = {{
    {0xE0, 0xC0, 2, 0x80},
    {0xF0, 0xE0, 3, 0x800},
    {0xF8, 0xF0, 4, 0x10000},
}};

// Calls `visit` with each character of UTF-8 text in turn; a byte that does not belong to a
// well-formed sequence is taken as the Windows-1252 character it would be in a legacy file, so
// bad input never gets lost.
template <typename Visit> void ForEachCharacter(std::string_view utf8, Visit visit) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const auto sequence = Utf8SequenceAt(utf8, pos);
        if (sequence) {
            visit(sequence->first);
            pos += sequence->second;
        } else {
            visit(Windows1252Character(static_cast<unsigned char>(utf8[pos])));
            ++pos;
        }
    }
}

std::u32string Characters(std::string_view utf8) {
    std::u32string characters;
    ForEachCharacter(utf8, [&characters](char32_t c) { characters += c; });
    return characters;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8(const std::u32string& characters) {
    std::string out;
    for (const char32_t c : characters) {
        AppendUtf8(out, c);
    }
    return out;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    for (const char byte : bytes) {
        AppendUtf8(out, Windows1252Character(static_cast<unsigned char>(byte)));
    }
    return out;
}

// Unpaired surrogates and a dangling odd byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t pos) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[pos]);
        const auto second = static_cast<unsigned char>(bytes[pos + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    const auto isHigh = [](char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto isLow = [](char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    std::string out;
    std::size_t pos = 0;
    for (; pos + 1 < bytes.size(); pos += 2) {
        const char32_t unit = unitAt(pos);
        if (isHigh(unit) && pos + 3 < bytes.size() && isLow(unitAt(pos + 2))) {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(pos + 2) - 0xDC00));
            pos += 2;
        } else {
            AppendUtf8(out, isHigh(unit) || isLow(unit) ? ReplacementCharacter : unit);
        }
    }
    if (pos < bytes.size()) {
        AppendUtf8(out, ReplacementCharacter);
    }
    return out;
}

// One byte per character: `byteOf` gives the byte, or nullopt to fall back to `fallback`.
template <typename ByteOf, typename Fallback>
std::string SingleByteText(std::string_view utf8, ByteOf byteOf, Fallback fallback) {
    std::string out;
    out.reserve(utf8.size());
    ForEachCharacter(utf8, [&](char32_t c) {
        if (const std::optional<char> byte = byteOf(c)) {
            out += *byte;
        } else {
            out += fallback(c);
        }
    });
    return out;
}

// Nothing when a character has no Windows-1252 byte.
std::optional<std::string> Windows1252Text(const std::u32string& characters) {
    std::string out;
    for (const char32_t c : characters) {
        const std::optional<char> byte = Windows1252Byte(c);
        if (!byte) {
            return std::nullopt;
        }
        out += *byte;
    }
    return out;
}

std::string BestFitOrQuestionMark(char32_t c) {
    const std::string_view substitute = AsciiSubstitute(c);
    return substitute.empty() ? "?" : std::string(substitute);
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t pos = 0; pos < bytes.size();) {
        const auto sequence = Utf8SequenceAt(bytes, pos);
        if (!sequence) {
            return false;
        }
        pos += sequence->second;
    }
    return true;
}

std::optional<std::pair<char32_t, std::size_t>> Utf8SequenceAt(std::string_view bytes, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80) {
        return std::pair<char32_t, std::size_t>{lead, 1};
    }
    const auto form = std::find_if(MultiByteForms.begin(), MultiByteForms.end(),
                                   [&](const TUtf8Form& f) { return (lead & f.Mask) == f.Value; });
    if (form == MultiByteForms.end() || pos + form->Length > bytes.size()) {
        return std::nullopt;
    }
    char32_t c = lead & static_cast<unsigned char>(~form->Mask);
    for (std::size_t i = 1; i < form->Length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[pos + i]);
        if (!IsContinuationByte(byte)) {
            return std::nullopt;
        }
        c = (c << 6) | (byte & 0x3F);
    }
    if (c < form->Smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    return std::pair{c, form->Length};
}

std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(Utf8Bom)) {
        return Utf8(Characters(bytes.substr(Utf8Bom.size())));
    }
    if (bytes.starts_with(Utf16LeBom)) {
        return Utf16ToUtf8(bytes.substr(Utf16LeBom.size()), false);
    }
    if (bytes.starts_with(Utf16BeBom)) {
        return Utf16ToUtf8(bytes.substr(Utf16BeBom.size()), true);
    }
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::string EncodeText(std::string_view utf8) {
    const std::u32string characters = Characters(utf8);
    const std::string text = Utf8(characters);
    // Some Windows-1252 byte strings read back as something else (they form UTF-8 or begin like a
    // byte-order mark, e.g. "Ã¥"); those texts, like those with characters outside
    // Windows-1252, are stored as UTF-8 so that they read back unchanged.
    const std::optional<std::string> windows1252 = Windows1252Text(characters);
    if (windows1252 && DecodeText(*windows1252) == text) {
        return *windows1252;
    }
    return std::string(Utf8Bom) + text;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    return SingleByteText(utf8, Windows1252Byte, BestFitOrQuestionMark);
}

std::string Utf8ToLatin1(std::string_view utf8) {
    const auto latin1Byte = [](char32_t c) -> std::optional<char> {
        return c <= 0xFF ? std::optional<char>(static_cast<char>(c)) : std::nullopt;
    };
    return SingleByteText(utf8, latin1Byte, [](char32_t) { return "?"; });
}

std::string Utf8ToAsciiBestFit(std::string_view utf8) {
    const auto asciiByte = [](char32_t c) -> std::optional<char> {
        return c < 0x80 ? std::optional<char>(static_cast<char>(c)) : std::nullopt;
    };
    return SingleByteText(utf8, asciiByte, BestFitOrQuestionMark);
}
