#include "datasources/DisplayBase.h"

#include "config/VDisplay.h"

TDisplayBase::TDisplayBase(std::string name, std::string configurationString, std::string displaySettings,
                           TDisplayType displayType)
    : DisplayType(displayType), Name(std::move(name)), DisplaySettings(std::move(displaySettings)),
      ConfigurationString(std::move(configurationString)) {}

TDisplayBase::TDisplayBase(const TVDisplay& display)
    : TDisplayBase(display.Name(), display.ConfigurationString(), display.DisplaySettings(),
                   static_cast<TDisplayType>(display.DisplayType())) {}
