#pragma once

#include "simulator/SimImage.h"

#include <filesystem>
#include <string>

// The picture as the bytes of a PNG file (8-bit RGB, not interlaced).
std::string EncodePng(const TRgbImage& image);

// Replaces the file with the picture as PNG; throws EVorlixError with the system's reason.
void WritePng(const std::filesystem::path& path, const TRgbImage& image);
