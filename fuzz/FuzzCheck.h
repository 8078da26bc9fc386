#pragma once

#include "platform/VorlixError.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// What the fuzz targets share: the input as text, the project's error as the only accepted
// failure, and a check that stops the run with a message.

inline std::string_view InputText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Runs `work`; false when it failed with the project's error. Any other exception goes on and
// ends the run as a fault.
template <typename TWork> bool Accepted(TWork&& work) {
    try {
        work();
        return true;
    } catch (const EVorlixError&) {
        return false;
    }
}

// Stops the run when `holds` is false.
inline void FuzzCheck(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}
