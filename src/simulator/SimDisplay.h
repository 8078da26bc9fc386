#pragma once

#include "platform/Clock.h"
#include "simulator/SimArea.h"
#include "simulator/SimFrame.h"

#include <array>
#include <mutex>
#include <string>
#include <string_view>

// The version text a virtual display answers to "-v".
inline constexpr std::string_view SimVersionText = "VSIM 1.0";

// A virtual Vorlix3 display, 64 or 128 x 16 LEDs with 16 areas. It carries out command lines as a
// display does and renders what it shows at the clock's current time. Options it does not know,
// values out of range and area options before any "-sc" on their line are ignored, so no input
// can upset it. Safe to use from several threads.
class TSimDisplay {
public:
    static constexpr int AreaCount = 16;

    explicit TSimDisplay(int width, const TClock& clock = Clock());

    // Carries out one command line (without its terminator); answers what the display sends back.
    std::string Execute(std::string_view line);
    // Carries out a configuration string as a display client puts it on the wire: each of its
    // '|'-separated command lines in Latin-1, cut at line breaks as the display reads them.
    void ExecuteConfigString(std::string_view configString);

    TSimFrame Frame() const;
    int Width() const { return FWidth; }
    // 0 to 100.
    int Brightness() const;
    // Whether a shown area's text is cut off at the area's edge (see TextCutOff).
    bool TextCutOff() const;

private:
    void Apply(const std::string& key, const std::string& value, TSimArea*& selected, std::string& reply);
    void ApplyAreaOption(const std::string& key, const std::string& value, TSimArea& area);
    void SetGeometry(const std::string& value, TSimArea& area);
    void SetText(const std::string& text, TSimArea& area);
    void Restart(TSimArea& area) const;
    std::int64_t NowMs() const;

    const int FWidth;
    const TClock& FClock;
    mutable std::mutex FLock;
    std::array<TSimArea, AreaCount> FAreas;
    int FBrightness = 100;
};
