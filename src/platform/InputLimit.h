#pragma once

#include "platform/SprintF.h"

#include <cstddef>
#include <string>

// The most the program takes in from one outside input at once, an HTTP body as much as a file a
// data source reads. Larger input is refused rather than held in memory.
inline constexpr std::size_t MaxInputSize = 8 * 1024 * 1024;

// A size limit as messages name it: "8 MiB", or "1000 bytes" when it is no whole number of MiB.
inline std::string SizeLimitText(std::size_t bytes) {
    constexpr std::size_t mebibyte = 1024 * 1024;
    return bytes % mebibyte == 0 ? SprintF("%d MiB", bytes / mebibyte) : SprintF("%d bytes", bytes);
}
