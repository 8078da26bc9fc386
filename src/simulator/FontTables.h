#pragma once

#include <string_view>

// The glyph tables of src/simulator/fonts, compiled into the program by the build.
extern const std::string_view FontTable5x7;
extern const std::string_view FontTable8x16;
extern const std::string_view FontTable8x15;
