#include "rows/RowEditorFields.h"

#include "rows/ConfigurationRow.h"
#include "rows/ConfigurationTexts.h"
#include "rows/SettingLookup.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace {

using TSettingList = TConfigurationTexts::TSettingList;

int PositionOf(std::uint8_t code, const TSettingList& list) {
    const auto position = SettingPosition(code, list);
    return position ? static_cast<int>(*position) : TRowEditorFields::NoSelection;
}

// Stores the code at `position` through `set`; without a valid position the row keeps its value.
void ApplyChoice(int position, const TSettingList& list, const std::function<void(std::uint8_t)>& set) {
    if (position >= 0 && static_cast<std::size_t>(position) < list.size()) {
        set(list[static_cast<std::size_t>(position)].first);
    }
}

} // namespace

TRowEditorFields TRowEditorFields::Of(const TConfigurationRow& row) {
    const TConfigurationTexts& texts = ConfigurationTexts();
    TRowEditorFields fields;
    fields.UsingParameter = row.TextIsParameter;
    fields.Text = row.Text;
    fields.Font = PositionOf(row.Size(), texts.FontSize);
    fields.Align = PositionOf(row.Align(), texts.FontAlign);
    fields.FgColor = PositionOf(row.ForegroundColor(), texts.Colors);
    fields.BgColor = PositionOf(row.BackgroundColor(), texts.Colors);
    fields.Scrollspeed = PositionOf(row.Scrollspeed(), texts.ScrollSpeed);
    fields.Timeout = std::to_string(row.Timeout);
    return fields;
}

void TRowEditorFields::ApplyTo(TConfigurationRow& row) const {
    const TConfigurationTexts& texts = ConfigurationTexts();
    row.TextIsParameter = UsingParameter;
    row.Text = ExtractSourceName(Text);
    ApplyChoice(Font, texts.FontSize, [&](std::uint8_t code) { row.SetSize(code); });
    ApplyChoice(Align, texts.FontAlign, [&](std::uint8_t code) { row.SetAlign(code); });
    ApplyChoice(BgColor, texts.Colors, [&](std::uint8_t code) { row.SetBackgroundColor(code); });
    ApplyChoice(FgColor, texts.Colors, [&](std::uint8_t code) { row.SetForegroundColor(code); });
    ApplyChoice(Scrollspeed, texts.ScrollSpeed, [&](std::uint8_t code) { row.SetScrollspeed(code); });
    if (const auto timeout = ParseTimeout(Timeout)) {
        row.Timeout = *timeout;
    }
}

std::string ExtractSourceName(std::string_view text) {
    const std::size_t bar = text.find('|');
    return std::string(bar == std::string_view::npos || bar == 0 ? text : text.substr(0, bar));
}

std::optional<std::uint32_t> ParseTimeout(std::string_view text) {
    if (text.empty() || !std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    // A number too long for 64 bits is above the cap as well.
    if (parsed.ec == std::errc::result_out_of_range || value > TConfigurationRow::MaxTimeout) {
        return TConfigurationRow::MaxTimeout;
    }
    return static_cast<std::uint32_t>(value);
}
