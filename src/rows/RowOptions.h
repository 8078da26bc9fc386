#pragma once

#include <cstdint>

// A row's area on the display.
enum TCBFontSize : std::uint8_t {
    TCBFontSize_Small_Upper = 0,
    TCBFontSize_Small_Lower = 1,
    TCBFontSize_Large = 2,
    TCBFontSize_Large_Right_3Chars = 3,
    TCBFontSize_Large_Left_Half = 4,
    TCBFontSize_Small_Upper_Left = 5,
    TCBFontSize_Small_Lower_Left = 6,
    TCBFontSize_Small_Upper_Right = 7,
    TCBFontSize_Small_Lower_Right = 8,
};

enum TCBFontAlign : std::uint8_t {
    TCBFontAlign_Left = 0,
    TCBFontAlign_Right = 1,
    TCBFontAlign_Center = 2,
};

enum TCBColor : std::uint8_t {
    TCBColor_None = 0,
    TCBColor_Red = 1,
    TCBColor_Green = 2,
    TCBColor_Yellow = 3,
};

// The set of row areas that currently show something: bit n stands for area code n (0 to 15).
class TCBFontSizes {
public:
    bool Contains(std::uint8_t size) const { return size < 16 && (FBits >> size & 1u) != 0; }
    void Include(std::uint8_t size) {
        if (size < 16) {
            FBits = static_cast<std::uint16_t>(FBits | 1u << size);
        }
    }
    void Exclude(std::uint8_t size) {
        if (size < 16) {
            FBits = static_cast<std::uint16_t>(FBits & ~(1u << size));
        }
    }
    bool Empty() const { return FBits == 0; }
    void Clear() { FBits = 0; }
    bool operator==(const TCBFontSizes&) const = default;

private:
    std::uint16_t FBits = 0;
};
