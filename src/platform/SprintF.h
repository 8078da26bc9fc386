#pragma once

#include <fmt/printf.h>

#include <string>
#include <utility>

// printf-style formatting for the program's message texts ("%s", "%d", "%6s").
// Arguments without a placeholder are ignored.
template <typename... Args>
std::string SprintF(const std::string& format, Args&&... args) {
    return fmt::sprintf(format, std::forward<Args>(args)...);
}
