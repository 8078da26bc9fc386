#pragma once

// The kinds of display and connection, as stored in a display record.
enum TDisplayType {
    DisplayType_Debug = 0,
    DisplayType_Vorlix2Com = 1,
    DisplayType_Vorlix2Ip = 2,
    DisplayType_Vorlix3Com = 3,
    DisplayType_Vorlix3Ip = 4,
};

#include <string>

// "DisplayType_Debug", ...; the number for a code outside the table.
std::string DisplayTypeName(TDisplayType type);
