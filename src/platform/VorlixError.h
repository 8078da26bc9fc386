#pragma once

#include <stdexcept>
#include <string>

// The one exception type of the program: what() is the exact message text shown to the operator.
class EVorlixError : public std::runtime_error {
public:
    explicit EVorlixError(const std::string& message) : std::runtime_error(message) {}
};
