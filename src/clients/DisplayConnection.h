#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

// An open link to a display: a serial port or a TCP connection.
class TDisplayConnection {
public:
    virtual ~TDisplayConnection() = default;

    // Writes every byte; throws EVorlixError when the link fails.
    virtual void Write(const std::string& bytes) = 0;
    // One byte from the display, or nothing when none arrives within `timeout` or the link is gone.
    virtual std::optional<char> ReadByte(std::chrono::milliseconds timeout) = 0;
    // False once the link is known to be gone.
    virtual bool IsConnected() = 0;
};

// Asked now and then while a connection is being made; true gives the attempt up.
using TAbandonCheck = std::function<bool()>;
