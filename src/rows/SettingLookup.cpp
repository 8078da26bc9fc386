#include "rows/SettingLookup.h"

#include <algorithm>

std::optional<std::size_t> SettingPosition(std::uint8_t code, const TConfigurationTexts::TSettingList& list) {
    const auto found = std::ranges::find(list, code, &TConfigurationTexts::TSettingList::value_type::first);
    if (found == list.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - list.begin());
}

std::string SettingLabel(std::uint8_t code, const TConfigurationTexts::TSettingList& list) {
    const auto position = SettingPosition(code, list);
    return position ? list[*position].second : std::to_string(code);
}
