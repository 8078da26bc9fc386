#pragma once

#include "protocol/Rect.h"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The parsed form of a display's stored configuration string: sixteen areas, each with four small
// numbers, the options it carries and the text left over. Segments are read and written in the
// raw form "-sc3 -f1" or the VD-protocol form "3,0,0,1:-f1" (area, variables index, colour index,
// state), joined with '|'. Malformed input is never an error: what cannot be read is left out.
class TVorlix3Configuration {
public:
    enum TVorlixConfigstringType : std::uint8_t { vcRaw = 0, vcVDProtocoll = 1 };

    static constexpr std::size_t AreaCount = 16;

    // One area of the display. Every option setter raises OnChangeConfig; parsing does not.
    class TVorlix3ConfigurationPart {
    public:
        using TPartChanged = std::function<void(const TVorlix3ConfigurationPart& sender)>;

        explicit TVorlix3ConfigurationPart(std::uint8_t displayIndex) : FDisplayIndex(displayIndex) {}

        // Marks the area unused and clears its indices and extra data; area number and options stay.
        void Reset();
        // Parses one segment, "%d,%d,%d,%d:" followed by options. Numbers that are missing or
        // malformed leave their field as it was; the options are replaced.
        void Reinitialize(std::string_view configuration);
        // The segment with its options; the extra data is not written.
        std::string GetConfiguration(TVorlixConfigstringType configType) const;

        // 0: the area is not in use.
        std::uint8_t State() const { return FState; }
        void SetState(std::uint8_t state) { FState = state; }
        std::uint8_t DisplayIndex() const { return FDisplayIndex; }
        void SetDisplayIndex(std::uint8_t displayIndex) { FDisplayIndex = displayIndex; }
        // Carried through unchanged; nothing in the program interprets them.
        std::uint8_t VDVariablesIndex() const { return FVDVariablesIndex; }
        void SetVDVariablesIndex(std::uint8_t index) { FVDVariablesIndex = index; }
        std::uint8_t VDColorIndex() const { return FVDColorIndex; }
        void SetVDColorIndex(std::uint8_t index) { FVDColorIndex = index; }

        // Numeric options read 0 when absent or not a number.
        std::uint8_t Font() const { return GetByteOption("-f"); }
        void SetFont(std::uint8_t font) { SetByteOption("-f", font); }
        std::uint8_t Align() const { return GetByteOption("-sha"); }
        void SetAlign(std::uint8_t align) { SetByteOption("-sha", align); }
        std::uint8_t VAlign() const { return GetByteOption("-sva"); }
        void SetVAlign(std::uint8_t valign) { SetByteOption("-sva", valign); }
        std::uint8_t Spacing() const { return GetByteOption("-sfm"); }
        void SetSpacing(std::uint8_t spacing) { SetByteOption("-sfm", spacing); }
        std::uint8_t Rotate() const { return GetByteOption("-sr"); }
        void SetRotate(std::uint8_t rotate) { SetByteOption("-sr", rotate); }
        std::uint8_t Scroll() const { return GetByteOption("-nss"); }
        void SetScroll(std::uint8_t scroll) { SetByteOption("-nss", scroll); }
        std::uint8_t Blink() const { return GetByteOption("-r"); }
        void SetBlink(std::uint8_t blink) { SetByteOption("-r", blink); }
        std::uint8_t Background() const { return GetByteOption("-cb"); }
        void SetBackground(std::uint8_t color) { SetByteOption("-cb", color); }
        std::uint8_t Foreground() const { return GetByteOption("-cf"); }
        void SetForeground(std::uint8_t color) { SetByteOption("-cf", color); }

        std::string Text() const;
        void SetText(std::string text);
        const std::string& ExtraData() const { return FExtraData; }
        void SetExtraData(std::string extraData);
        // The "-sg" geometry; the empty rectangle when it is absent or not four integers.
        TRect ClientRect() const;
        void SetClientRect(const TRect& rect);

        const TPartChanged& OnChangeConfig() const { return FOnChangeConfig; }
        void SetOnChangeConfig(TPartChanged handler) { FOnChangeConfig = std::move(handler); }

        // Names of the variables the area shows; the clients subscribe to each. Starts empty.
        std::set<std::string>& DisplayVariables() { return FVariables; }
        const std::set<std::string>& DisplayVariables() const { return FVariables; }

    private:
        void ReadNumbers(std::string_view head);
        void ExtractOption(std::string_view searchKey, std::string& text);
        std::string GetOptionsString() const;
        std::uint8_t GetByteOption(std::string_view key) const;
        void SetByteOption(std::string_view key, std::uint8_t value);
        void SetOption(std::string_view key, std::string value);
        void Changed() const;

        std::uint8_t FState = 0;
        std::uint8_t FDisplayIndex;
        std::uint8_t FVDVariablesIndex = 0;
        std::uint8_t FVDColorIndex = 0;
        std::string FExtraData;
        // Key: the option with its minus sign ("-sg"); value: the option's text without quotes.
        std::map<std::string, std::string, std::less<>> FCurrentParsed;
        std::set<std::string> FVariables;
        TPartChanged FOnChangeConfig;
    };

    using TConfigurationChanged = std::function<void(const TVorlix3Configuration& sender)>;

    TVorlix3Configuration();
    TVorlix3Configuration(const TVorlix3Configuration&) = delete;
    TVorlix3Configuration& operator=(const TVorlix3Configuration&) = delete;

    // Replaces the whole parse: every area is reset, then the areas the string names are filled.
    // Areas it does not name keep their options but are no longer in use.
    void Reinitialize(std::string_view configuration);
    // The areas in use, in area order, written in the given form and joined with '|'.
    std::string GetConfiguration(TVorlixConfigstringType configType) const;

    // The sixteen areas; index n is area n as created.
    std::span<TVorlix3ConfigurationPart> DisplayParts() { return FDisplayParts; }
    std::span<const TVorlix3ConfigurationPart> DisplayParts() const { return FDisplayParts; }

    // Raised, with this configuration as sender, whenever an area's option setter runs.
    const TConfigurationChanged& OnChangeConfig() const { return FOnChangeConfig; }
    void SetOnChangeConfig(TConfigurationChanged handler) { FOnChangeConfig = std::move(handler); }

private:
    void HandlePartChange() const;

    TConfigurationChanged FOnChangeConfig;
    std::vector<TVorlix3ConfigurationPart> FDisplayParts;
};
