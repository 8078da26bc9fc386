#include "rows/ConfigurationRow.h"

#include "platform/SprintF.h"
#include "rows/RowArea.h"

#include <algorithm>
#include <array>

std::span<const TRecordField<TConfigurationRow>> TConfigurationRow::Fields() {
    static const std::array<TRecordField<TConfigurationRow>, 9> fields = {{
        {"FLastFetchedArea", &TConfigurationRow::FLastFetchedArea},
        {"FScrollSpeed", &TConfigurationRow::FScrollSpeed},
        {"FSize", &TConfigurationRow::FSize},
        {"FAlign", &TConfigurationRow::FAlign},
        {"FBackgroundColor", &TConfigurationRow::FBackgroundColor},
        {"FForegroundColor", &TConfigurationRow::FForegroundColor},
        {"TextIsParameter", &TConfigurationRow::TextIsParameter},
        {"Text", &TConfigurationRow::Text},
        {"Timeout", &TConfigurationRow::Timeout},
    }};
    return fields;
}

TConfigurationRow::TConfigurationRow(std::string text, std::uint8_t size, std::uint8_t align,
                                     std::uint8_t backgroundColor, std::uint8_t foregroundColor,
                                     std::uint32_t timeout)
    : Text(std::move(text)), Timeout(timeout), FSize(size), FAlign(align), FBackgroundColor(backgroundColor),
      FForegroundColor(foregroundColor) {}

void TConfigurationRow::AssignTo(TBaseObject& dest) const {
    auto& row = dynamic_cast<TConfigurationRow&>(dest);
    row.Text = Text;
    row.TextIsParameter = TextIsParameter;
    row.FSize = FSize;
    row.FAlign = FAlign;
    row.FBackgroundColor = FBackgroundColor;
    row.FForegroundColor = FForegroundColor;
    row.SetScrollspeed(FScrollSpeed);
    row.Timeout = Timeout;
}

void TConfigurationRow::Change() const {
    if (FChanged) {
        FChanged();
    }
}

void TConfigurationRow::Mark(bool setmark) const {
    if (FMarkedChanged) {
        FMarkedChanged(setmark);
    }
}

std::string TConfigurationRow::ToVorlixString(std::uint16_t width, TCBFontSizes& lastShowedAreas) const {
    std::string result;
    const auto append = [&result](const std::string& item) { result += item + ' '; };
    if (const TRowAreaLayout* layout = RowAreaLayout(FSize)) {
        for (const TClearCheck& check : layout->Checks) {
            if (lastShowedAreas.Contains(check.Area)) {
                lastShowedAreas.Exclude(check.Area);
                append(check.Command);
            }
        }
        const auto g = RowAreaGeometry(FSize, width);
        append(SprintF(layout->GeometryTemplate, g[0], g[1], g[2], g[3]));
    }
    lastShowedAreas.Include(FSize);
    append(SprintF("-cb%d", static_cast<int>(FBackgroundColor)));
    append(SprintF("-cf%d", static_cast<int>(FForegroundColor)));
    append(SprintF("-sad%d", static_cast<int>(FAlign)));
    append(SprintF("-nss%d", static_cast<int>(FScrollSpeed)));
    append(TextIsParameter ? SprintF("-t\"[%s]\"", Text) : SprintF("-t\"%s\"", Text));
    append("");
    return result;
}

void TConfigurationRow::SetScrollspeed(std::uint8_t value) {
    FScrollSpeed = std::min(value, MaxScrollspeed);
}
