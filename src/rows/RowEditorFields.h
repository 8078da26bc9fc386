#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TConfigurationRow;

// What the row editor shows of a row, and what its "Spara" writes back. The choices are
// positions in the label tables of ConfigurationTexts(); a value outside its table has no
// position, and saving without a position keeps the row's value.
struct TRowEditorFields {
    static constexpr int NoSelection = -1;

    static TRowEditorFields Of(const TConfigurationRow& row);
    void ApplyTo(TConfigurationRow& row) const;

    bool UsingParameter = false;
    // The source name, a picked entry ("name|description") or a typed text.
    std::string Text;
    int Font = NoSelection;
    int Align = NoSelection;
    int FgColor = NoSelection;
    int BgColor = NoSelection;
    int Scrollspeed = NoSelection;
    // The display time as typed.
    std::string Timeout;
};

// The source name of a picked entry: the text before the first vertical bar when there is one
// at the second character or later; otherwise the whole text.
std::string ExtractSourceName(std::string_view text);

// The display time a typed text stands for: a decimal number, capped at 60000 ms; nothing when
// the text is not a number.
std::optional<std::uint32_t> ParseTimeout(std::string_view text);
