#include "rows/ConfigurationTexts.h"

#include "platform/SprintF.h"
#include "rows/SettingLookup.h"

TConfigurationTexts::TConfigurationTexts() {
    FontSize = {
        {2, "Stor, Hela Vorlix"},
        {3, "Stor, Höger Vorlix yta"},
        {4, "Stor, Vänster Vorlix yta"},
        {0, "Liten, Övre Vorlix yta"},
        {1, "Liten, Undre Vorlix yta "},
        {5, "Liten, Vänster övre Vorlix yta"},
        {6, "Liten, Vänster under Vorlix yta"},
        {7, "Liten, Höger övre Vorlix yta"},
        {8, "Liten, Höger under Vorlix yta"},
    };
    FontAlign = {{0, "Vänster"}, {1, "Höger"}, {2, "Center"}};
    Colors = {{0, "Ingen"}, {1, "Röd"}, {2, "Grön"}, {3, "Gul"}};
    ScrollSpeed.emplace_back(0, "Ingen");
    for (std::uint8_t code = 1; code <= 15; ++code) {
        ScrollSpeed.emplace_back(code, SprintF("Hast.%d", code));
    }
    ScrollSpeed.emplace_back(16, "Högsta");
}

std::size_t TConfigurationTexts::GetSettingIndex(std::uint8_t key, const TSettingList& list) {
    return SettingPosition(key, list).value_or(0);
}

const TConfigurationTexts& ConfigurationTexts() {
    static const TConfigurationTexts texts;
    return texts;
}
