#include "model/DisplaySettingsChange.h"

#include "clients/DisplayClient.h"
#include "config/VDisplay.h"
#include "model/LocalViewModel.h"

bool DisplaySettingsEditable(bool paused, const TDisplayClientBase* client) {
    return paused && client != nullptr && !client->IsRunning();
}

bool ApplyDisplaySettings(TLocalViewModel& model, const std::string& displayName, const std::string& settings,
                          std::optional<std::uint16_t> width, std::optional<std::uint8_t> brightness) {
    TDisplayClientBase* client = model.GetDisplayClientFromCache(displayName);
    if (client == nullptr) {
        return false;
    }
    client->SetDisplayConfig(settings);
    if (TVDisplay* display = model.GetDisplay(displayName)) {
        display->SetDisplaySettings(settings);
        if (width) {
            display->SetWidth(*width);
        }
        if (brightness) {
            display->SetBrightness(*brightness);
        }
    }
    return true;
}
