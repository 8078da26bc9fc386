#pragma once

#include <cstdint>
#include <string>

// The kinds of display and connection, as stored in a display record; any code a record can hold is
// a valid value.
enum TDisplayType : std::uint16_t {
    DisplayType_Debug = 0,
    DisplayType_Vorlix2Com = 1,
    DisplayType_Vorlix2Ip = 2,
    DisplayType_Vorlix3Com = 3,
    DisplayType_Vorlix3Ip = 4,
};

// "DisplayType_Debug", ...; the number for a code outside the table.
std::string DisplayTypeName(TDisplayType type);
