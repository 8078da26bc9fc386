#pragma once

#include "datasources/DisplayType.h"

#include <string>

class TVDisplay;

// One display's settings, carried from its record to the display-client factory.
struct TDisplayBase {
    TDisplayBase(std::string name, std::string configurationString, std::string displaySettings,
                 TDisplayType displayType);
    explicit TDisplayBase(const TVDisplay& display);
    bool operator==(const TDisplayBase&) const = default;

    TDisplayType DisplayType;
    std::string Name;
    std::string DisplaySettings;
    std::string ConfigurationString;
};
