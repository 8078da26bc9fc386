#pragma once

#include <cstdint>
#include <string>

// A TCP display whose peer never reads: the system accepts its connections into small buffers
// that nobody empties, so the client's writes soon stop making progress.
class TUnreadTcpDisplay {
public:
    TUnreadTcpDisplay();
    ~TUnreadTcpDisplay();
    TUnreadTcpDisplay(const TUnreadTcpDisplay&) = delete;
    TUnreadTcpDisplay& operator=(const TUnreadTcpDisplay&) = delete;

    // "127.0.0.1:<port>".
    std::string Address() const;

private:
    int FListener = -1;
    std::uint16_t FPort = 0;
};

// A serial display on a pseudo-terminal whose other end nobody reads. Fails with
// std::runtime_error when no pseudo-terminal can be had.
class TUnreadSerialDisplay {
public:
    TUnreadSerialDisplay();
    ~TUnreadSerialDisplay();
    TUnreadSerialDisplay(const TUnreadSerialDisplay&) = delete;
    TUnreadSerialDisplay& operator=(const TUnreadSerialDisplay&) = delete;

    // The device the client opens, "/dev/pts/<n>".
    const std::string& Device() const { return FDevice; }

private:
    int FMaster = -1;
    int FSlave = -1;
    std::string FDevice;
};
