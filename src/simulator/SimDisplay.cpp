#include "simulator/SimDisplay.h"

#include "platform/Encoding.h"
#include "platform/NumberText.h"
#include "protocol/CommandLine.h"
#include "protocol/ConfigString.h"
#include "simulator/SimFont.h"
#include "simulator/SimLineReader.h"

#include <algorithm>
#include <optional>

namespace {

// Geometry beyond this is off any display; refusing it keeps the arithmetic small.
constexpr int MaxCoordinate = 9999;

std::optional<int> Number(std::string_view text, int low, int high) {
    const auto value = WholeNumber<int>(text);
    return value && *value >= low && *value <= high ? value : std::nullopt;
}

} // namespace

TSimDisplay::TSimDisplay(int width, const TClock& clock) : FWidth(width), FClock(clock) {}

std::string TSimDisplay::Execute(std::string_view line) {
    std::lock_guard lock(FLock);
    std::string reply;
    // Area options apply to the area selected last on the same line.
    TSimArea* selected = nullptr;
    for (const TCommandToken& token : SplitCommandLine(line)) {
        Apply(token.Key, token.Value, selected, reply);
    }
    return reply;
}

// A line break inside a piece (a value of several lines) ends the line there, as on the wire.
void TSimDisplay::ExecuteConfigString(std::string_view configString) {
    TSimLineReader reader;
    for (const std::string& piece : SplitConfigString(configString)) {
        for (const std::string& line : reader.Feed(Utf8ToLatin1(piece) + "\r\n")) {
            Execute(line);
        }
    }
}

void TSimDisplay::Apply(const std::string& key, const std::string& value, TSimArea*& selected,
                        std::string& reply) {
    if (key == "sc") {
        const auto area = Number(value, 0, AreaCount - 1);
        selected = area ? &FAreas[static_cast<std::size_t>(*area)] : nullptr;
    } else if (key == "dac") {
        for (TSimArea& area : FAreas) {
            area.Shown = false;
            area.Text.clear();
        }
    } else if (key == "i") {
        if (const auto level = Number(value, 0, 255)) {
            FBrightness = std::min(*level, 100);
        }
    } else if (key == "v") {
        reply += SimVersionText;
        reply += "\r\n";
    } else if (selected != nullptr) {
        ApplyAreaOption(key, value, *selected);
    }
}

void TSimDisplay::ApplyAreaOption(const std::string& key, const std::string& value, TSimArea& area) {
    if (key == "dc") {
        area.Shown = false;
        area.Text.clear();
    } else if (key == "sg") {
        SetGeometry(value, area);
    } else if (key == "t") {
        SetText(value, area);
    } else if (key == "nss") {
        if (const auto speed = Number(value, 0, 255)) {
            area.ScrollSpeed = std::min(*speed, 16);
        }
    } else if (const auto number = Number(value, 0, 3)) {
        if (key == "f") {
            if (DisplayFont(*number) != nullptr && area.Font != *number) {
                area.Font = *number;
                Restart(area);
            }
        } else if (key == "cf") {
            area.Foreground = static_cast<TLedColor>(*number);
        } else if (key == "cb") {
            area.Background = static_cast<TLedColor>(*number);
        } else if (key == "sad" && *number <= TSimArea::Align_Center) {
            area.Align = static_cast<TSimArea::TAlign>(*number);
        } else if (key == "sva" && *number <= TSimArea::VAlign_Center) {
            area.VAlign = static_cast<TSimArea::TVAlign>(*number);
        } else if (key == "r" && *number <= 1 && area.Blink != (*number == 1)) {
            area.Blink = *number == 1;
            Restart(area);
        }
    }
}

void TSimDisplay::SetGeometry(const std::string& value, TSimArea& area) {
    std::array<int, 4> numbers{};
    std::string_view rest = value;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::size_t comma = i + 1 < numbers.size() ? rest.find(',') : rest.size();
        const auto number = Number(rest.substr(0, comma), 0, MaxCoordinate);
        if (comma == std::string_view::npos || !number) {
            return;
        }
        numbers[i] = *number;
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
    if (numbers != std::array{area.X, area.Y, area.W, area.H}) {
        area.X = numbers[0];
        area.Y = numbers[1];
        area.W = numbers[2];
        area.H = numbers[3];
        Restart(area);
    }
}

void TSimDisplay::SetText(const std::string& text, TSimArea& area) {
    if (!area.Shown || area.Text != text) {
        area.Text = text;
        Restart(area);
    }
    area.Shown = true;
}

void TSimDisplay::Restart(TSimArea& area) const {
    area.Since = NowMs();
}

std::int64_t TSimDisplay::NowMs() const {
    return DateTimeToMSecs(FClock.Now());
}

TSimFrame TSimDisplay::Frame() const {
    std::lock_guard lock(FLock);
    TSimFrame frame(FWidth);
    const std::int64_t now = NowMs();
    for (const TSimArea& area : FAreas) {
        DrawArea(area, now, frame);
    }
    return frame;
}

int TSimDisplay::Brightness() const {
    std::lock_guard lock(FLock);
    return FBrightness;
}

bool TSimDisplay::TextCutOff() const {
    std::lock_guard lock(FLock);
    return std::ranges::any_of(FAreas, [this](const TSimArea& area) { return ::TextCutOff(area, FWidth); });
}
