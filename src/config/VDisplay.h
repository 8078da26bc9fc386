#pragma once

#include "config/BaseObject.h"
#include "config/RecordField.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// The persisted record of one display.
class TVDisplay : public TBaseObject {
public:
    static constexpr std::string_view UnitName = "JSONBaseObject";
    static constexpr std::string_view ClassName = "TVDisplay";
    static std::span<const TRecordField<TVDisplay>> Fields();
    static constexpr std::uint8_t MaxBrightness = 100;

    void AssignTo(TBaseObject& dest) const override;
    // The name is the record's key.
    std::string ToString() const { return FName; }

    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { SetField(FName, value); }
    // A TDisplayType code.
    std::uint16_t DisplayType() const { return FDisplayType; }
    void SetDisplayType(std::uint16_t value) { SetField(FDisplayType, value); }
    // Width in pixels, 64 or 128.
    std::uint16_t Width() const { return FWidth; }
    void SetWidth(std::uint16_t value) { SetField(FWidth, value); }
    std::uint8_t Brightness() const { return FBrightness; }
    // Values above MaxBrightness are stored as MaxBrightness.
    void SetBrightness(std::uint8_t value);
    // Connection settings: a serial port number, or address and port.
    const std::string& DisplaySettings() const { return FDisplaySettings; }
    void SetDisplaySettings(const std::string& value) { SetField(FDisplaySettings, value); }
    // The display's base command string.
    const std::string& ConfigurationString() const { return FConfigurationString; }
    void SetConfigurationString(const std::string& value) { SetField(FConfigurationString, value); }

private:
    std::string FName;
    std::uint16_t FDisplayType = 0;
    std::uint16_t FWidth = 0;
    std::uint8_t FBrightness = 0;
    std::string FDisplaySettings;
    std::string FConfigurationString;
};
