#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

inline constexpr std::string_view InvalidObjectMessage = "The input value is not a valid Object";

// Configuration documents are five levels deep; anything far deeper is not one of ours.
inline constexpr int MaxJsonDepth = 64;

// The one-line text of a JSON value: no white space, control characters escaped, characters
// outside ASCII written as they are.
std::string JsonText(const nlohmann::ordered_json& value);

// The JSON value of `text`. A number is held as its value where that gives back the text it was
// written with, otherwise as that text (1e2, -0, 123456789012345678901234567890, 1E400), so no
// digit is lost and no number is too large. Fails with InvalidObjectMessage when the text is not
// JSON, and with a message of its own when it nests deeper than MaxJsonDepth.
nlohmann::ordered_json ParseJsonText(std::string_view text);

// The events of a JSON document as it streams past, without a tree. Each number arrives as the
// text it was written with, whatever its size, instead of as a parsed value.
class TJsonEventReader : public nlohmann::json_sax<nlohmann::ordered_json> {
public:
    // Streams `text` through the events; false when it stops early, after parse_error when the
    // text is not JSON.
    bool Read(std::string_view text);

    virtual bool Number(std::string written) = 0;

    bool number_integer(number_integer_t) final { return NextNumber(); }
    bool number_unsigned(number_unsigned_t) final { return NextNumber(); }
    bool number_float(number_float_t, const string_t&) final { return NextNumber(); }

private:
    bool NextNumber();

    std::string_view FText;
    std::size_t FNumbersFrom = 0;
};
