#include "simulator/SimFont.h"

#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"
#include "simulator/FontTables.h"

#include <optional>
#include <string>

namespace {

// The lines of a table with their numbers, for messages.
class TTableLines {
public:
    explicit TTableLines(std::string_view table) : FRest(table) {}

    bool Next(std::string_view& line) {
        if (FRest.empty()) {
            return false;
        }
        const std::size_t end = FRest.find('\n');
        line = FRest.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        FRest = end == std::string_view::npos ? std::string_view() : FRest.substr(end + 1);
        ++FNumber;
        return true;
    }

    [[noreturn]] void Fail(const std::string& reason) const {
        throw EVorlixError(SprintF("Glyph table line %d: %s", FNumber, reason));
    }

private:
    std::string_view FRest;
    int FNumber = 0;
};

// "keyword N" or "keyword N M" from the header.
std::vector<int> HeaderNumbers(TTableLines& lines, std::string_view keyword, std::size_t count) {
    std::string_view line;
    while (lines.Next(line) && (line.empty() || line.starts_with('#'))) {
    }
    if (!line.starts_with(keyword)) {
        lines.Fail(SprintF("expected \"%s\"", std::string(keyword)));
    }
    std::vector<int> numbers;
    std::string_view rest = line.substr(keyword.size());
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const std::size_t space = std::min(rest.find(' '), rest.size());
        const auto number = WholeNumber<int>(rest.substr(0, space));
        if (!number) {
            lines.Fail("not a number");
        }
        numbers.push_back(*number);
        rest.remove_prefix(space);
    }
    if (numbers.size() != count) {
        lines.Fail(SprintF("\"%s\" needs %d numbers", std::string(keyword), static_cast<int>(count)));
    }
    return numbers;
}

} // namespace

TSimFont TSimFont::Parse(std::string_view table) {
    TTableLines lines(table);
    const std::vector<int> size = HeaderNumbers(lines, "size", 2);
    const std::vector<int> spacing = HeaderNumbers(lines, "spacing", 1);
    if (size[0] < 1 || size[0] > 8 || size[1] < 1 || size[1] > 16 || spacing[0] < 0 || spacing[0] > 8) {
        lines.Fail("size or spacing out of range");
    }
    TSimFont font(size[0], size[1], spacing[0]);
    std::string_view line;
    while (lines.Next(line)) {
        if (line.empty()) {
            continue;
        }
        const auto code =
            line.starts_with("U+") ? WholeNumber<int>(line.substr(2, line.find(' ') - 2), 16) : std::nullopt;
        if (!code || *code < 0 || *code > 0xFF) {
            lines.Fail("expected a Latin-1 code point \"U+XXXX\"");
        }
        std::vector<std::uint8_t>& glyph = font.FGlyphs[static_cast<std::size_t>(*code)];
        if (!glyph.empty()) {
            lines.Fail("glyph defined twice");
        }
        for (int y = 0; y < font.FHeight; ++y) {
            if (!lines.Next(line) || static_cast<int>(line.size()) != font.FWidth ||
                line.find_first_not_of("#.") != std::string_view::npos) {
                lines.Fail(SprintF("expected a row of %d '#' or '.'", font.FWidth));
            }
            std::uint8_t bits = 0;
            for (int x = 0; x < font.FWidth; ++x) {
                bits = static_cast<std::uint8_t>(bits | (line[static_cast<std::size_t>(x)] == '#') << x);
            }
            glyph.push_back(bits);
        }
    }
    if (!font.Has('?')) {
        lines.Fail("the table has no '?'");
    }
    return font;
}

bool TSimFont::Lit(unsigned char code, int x, int y) const {
    const std::vector<std::uint8_t>& glyph = FGlyphs[Has(code) ? code : '?'];
    return x >= 0 && x < FWidth && y >= 0 && y < FHeight &&
           (glyph[static_cast<std::size_t>(y)] >> x & 1) != 0;
}

int TSimFont::TextWidth(std::size_t characters) const {
    if (characters == 0) {
        return 0;
    }
    return static_cast<int>(characters) * (FWidth + FSpacing) - FSpacing;
}

const TSimFont* DisplayFont(int number) {
    static const TSimFont fonts[] = {TSimFont::Parse(FontTable5x7), TSimFont::Parse(FontTable8x16),
                                     TSimFont::Parse(FontTable8x15)};
    return number >= 0 && number < 3 ? &fonts[number] : nullptr;
}
