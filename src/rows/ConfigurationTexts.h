#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The Swedish labels of a row's options, each table an ordered list of (code, label).
// A drop-down list shows a table's labels in table order.
class TConfigurationTexts {
public:
    using TSettingList = std::vector<std::pair<std::uint8_t, std::string>>;

    TConfigurationTexts();

    // The position of the first pair whose code is `key`; 0 when there is none.
    static std::size_t GetSettingIndex(std::uint8_t key, const TSettingList& list);

    TSettingList ScrollSpeed;
    TSettingList Colors;
    TSettingList FontSize;
    TSettingList FontAlign;
};

// The one instance for the whole run.
const TConfigurationTexts& ConfigurationTexts();
