#pragma once

#include <cstdint>
#include <optional>
#include <string>

class TDisplayClientBase;
class TLocalViewModel;

// A display's connection settings, width and brightness, as its page edits them.

// The operator may edit them only while the display's sending is paused and its client exists
// and is not running.
bool DisplaySettingsEditable(bool paused, const TDisplayClientBase* client);

// The client takes the new settings text; the display's record takes it too, with the width and
// brightness when they are given. False, with nothing changed, when the display has no client.
bool ApplyDisplaySettings(TLocalViewModel& model, const std::string& displayName, const std::string& settings,
                          std::optional<std::uint16_t> width, std::optional<std::uint8_t> brightness);
