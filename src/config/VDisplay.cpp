#include "config/VDisplay.h"

#include <algorithm>
#include <array>

std::span<const TRecordField<TVDisplay>> TVDisplay::Fields() {
    static const std::array<TRecordField<TVDisplay>, 6> fields = {{
        {"FName", &TVDisplay::FName},
        {"FDisplayType", &TVDisplay::FDisplayType},
        {"FWidth", &TVDisplay::FWidth},
        {"FBrightness", &TVDisplay::FBrightness},
        {"FDisplaySettings", &TVDisplay::FDisplaySettings},
        {"FConfigurationString", &TVDisplay::FConfigurationString},
    }};
    return fields;
}

void TVDisplay::AssignTo(TBaseObject& dest) const {
    CopyFields(*this, dynamic_cast<TVDisplay&>(dest));
}

void TVDisplay::SetBrightness(std::uint8_t value) {
    SetField(FBrightness, std::min(value, MaxBrightness));
}
