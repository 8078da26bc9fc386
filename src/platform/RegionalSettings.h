#pragma once

#include <string>

// The user's number and date formats, read once at start-up.
// Formats use the letters d, m, y (date) and h, n/m, s, z, AM/PM (time) as the user's locale gives them.
struct TRegionalSettings {
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "yyyy-mm-dd";
    std::string LongTimeFormat = "hh:nn:ss";

    // The settings of the user's locale (LC_NUMERIC, LC_TIME).
    static TRegionalSettings FromUserLocale();
};

// The process-wide settings: those of the user's locale unless a driver or test installed others.
const TRegionalSettings& RegionalSettings();

// Installs a copy of `settings` process-wide for its lifetime, then restores the previous ones.
class TScopedRegionalSettings {
public:
    explicit TScopedRegionalSettings(const TRegionalSettings& settings);
    ~TScopedRegionalSettings();
    TScopedRegionalSettings(const TScopedRegionalSettings&) = delete;
    TScopedRegionalSettings& operator=(const TScopedRegionalSettings&) = delete;

private:
    const TRegionalSettings FSettings;
    const TRegionalSettings* FPrevious;
};
