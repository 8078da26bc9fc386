#pragma once

#include "rows/ConfigurationTexts.h"

#include <cstdint>
#include <optional>
#include <string>

// Finding a row's stored code in a label table. Rows read from a file may hold codes the table
// does not have; those have no position and show as their number.

// The position of the first pair whose code is `code`; nothing when there is none.
std::optional<std::size_t> SettingPosition(std::uint8_t code, const TConfigurationTexts::TSettingList& list);

// The label of `code` in `list`; the code's number when the table has no such code.
std::string SettingLabel(std::uint8_t code, const TConfigurationTexts::TSettingList& list);
