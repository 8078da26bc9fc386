#pragma once

#include "clients/DisplayConnection.h"

#include <functional>
#include <memory>
#include <string>

// Opens a serial device (/dev/ttyS0, /dev/ttyUSB0, COM1 on Windows) with the displays' line
// settings: 9600 baud, 8 data bits, no parity, 1 stop bit, no flow control, DTR and RTS off.
// A device without modem lines, such as a pseudo-terminal, is accepted.
// Throws EVorlixError when the device cannot be opened or set up. The port is driven by `io`.
std::unique_ptr<TDisplayConnection> OpenSerialPort(asio::io_context& io, const std::string& device);

// How a serial client gets its port; tests may hand in their own.
using TSerialPortFactory =
    std::function<std::unique_ptr<TDisplayConnection>(asio::io_context& io, const std::string& device)>;
