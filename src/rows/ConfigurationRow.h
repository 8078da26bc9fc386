#pragma once

#include "config/BaseObject.h"
#include "config/RecordField.h"
#include "rows/RowOptions.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

// One entry of a display's ordered rows: a fixed text or a data source's name, shown in one
// area of the display with its alignment, colours, scroll speed and display time.
class TConfigurationRow : public TBaseObject {
public:
    using TChanged = std::function<void()>;
    using TMarkedChanged = std::function<void(bool marked)>;

    static constexpr std::string_view UnitName = "ConfigurationRow";
    static constexpr std::string_view ClassName = "TConfigurationRow";
    static std::span<const TRecordField<TConfigurationRow>> Fields();
    static constexpr std::uint8_t MaxScrollspeed = 16;
    // The longest display time in milliseconds.
    static constexpr std::uint32_t MaxTimeout = 60000;

    TConfigurationRow() = default;
    TConfigurationRow(std::string text, std::uint8_t size, std::uint8_t align, std::uint8_t backgroundColor,
                      std::uint8_t foregroundColor, std::uint32_t timeout);
    // What the row editor's "+" creates.
    static TConfigurationRow NewDefault() { return TConfigurationRow("", TCBFontSize_Large, 0, 0, 1, 1000); }

    // Copies the persisted values (scroll speed through its setter); events, the change flag and
    // the reserved area are not copied.
    void AssignTo(TBaseObject& dest) const override;
    std::string ToString() const { return Text; }

    // Raises OnChanged: the row was edited.
    void Change() const;
    // Raises OnMarkedChanged: the row went onto (true) or left (false) the display.
    void Mark(bool setmark) const;

    // The command string of this row on a display `width` pixels wide: clearing commands for the
    // showing areas the row overlaps (they leave `lastShowedAreas`), the area's geometry and font,
    // colours, alignment, scroll speed and text, every item followed by a space, ending in two
    // spaces. The row's own area joins `lastShowedAreas`.
    std::string ToVorlixString(std::uint16_t width, TCBFontSizes& lastShowedAreas) const;

    std::uint8_t Scrollspeed() const { return FScrollSpeed; }
    // Values above MaxScrollspeed are stored as MaxScrollspeed.
    void SetScrollspeed(std::uint8_t value);
    std::uint8_t Size() const { return FSize; }
    void SetSize(std::uint8_t value) { FSize = value; }
    std::uint8_t Align() const { return FAlign; }
    void SetAlign(std::uint8_t value) { FAlign = value; }
    std::uint8_t BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(std::uint8_t value) { FBackgroundColor = value; }
    std::uint8_t ForegroundColor() const { return FForegroundColor; }
    void SetForegroundColor(std::uint8_t value) { FForegroundColor = value; }
    std::uint8_t LastFetchedArea() const { return FLastFetchedArea; }

    const TChanged& OnChanged() const { return FChanged; }
    void SetOnChanged(TChanged handler) { FChanged = std::move(handler); }
    const TMarkedChanged& OnMarkedChanged() const { return FMarkedChanged; }
    void SetOnMarkedChanged(TMarkedChanged handler) { FMarkedChanged = std::move(handler); }

    bool TextIsParameter = false;
    std::string Text;
    // Display time in milliseconds.
    std::uint32_t Timeout = 0;

private:
    std::uint8_t FLastFetchedArea = 0;
    TMarkedChanged FMarkedChanged;
    TChanged FChanged;
    std::uint8_t FScrollSpeed = 0;
    std::uint8_t FSize = 0;
    std::uint8_t FAlign = 0;
    std::uint8_t FBackgroundColor = 0;
    std::uint8_t FForegroundColor = 0;
};
