#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

inline constexpr std::string_view InvalidObjectMessage = "The input value is not a valid Object";

// Configuration documents are five levels deep; anything far deeper is not one of ours.
inline constexpr int MaxJsonDepth = 64;

// The one-line text of a JSON value: no white space, control characters escaped, characters
// outside ASCII written as they are.
std::string JsonText(const nlohmann::ordered_json& value);

// The JSON value of `text`. Fails with InvalidObjectMessage when the text is not JSON, and with
// a message of its own when it nests deeper than MaxJsonDepth.
nlohmann::ordered_json ParseJsonText(std::string_view text);
