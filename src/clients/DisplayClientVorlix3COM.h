#pragma once

#include "clients/DisplayClientVorlix3Base.h"
#include "clients/SerialPort.h"

struct TDisplayBase;

// Drives one Vorlix3 display over a serial port. The settings text is a port number (3 names COM3,
// on Linux /dev/ttyS2) or, for USB adapters, a device path beginning with "/".
class TDisplayClientVorlix3COM final : public TDisplayClientVorlix3Base {
public:
    TDisplayClientVorlix3COM(const TDisplayBase& displaybase, bool runningFromStart,
                             TSerialPortFactory openPort = OpenSerialPort);
    ~TDisplayClientVorlix3COM() override;

    // Pieces go out as lines ended by one carriage return, and every piece after the first data
    // is followed by one more; empty pieces before any data send nothing.
    bool SendConfigString(const std::string& configstring) override;
    // An accepted port suspends the client; it connects to the new port when started again.
    bool SetDisplayConfig(const std::string& baseconfig) override;

protected:
    void OpenConnection(asio::io_context& io, const TLinkPost& post, TOpened done) override;
    std::string Greeting() const override;
    std::string EncodeAreaLines(const std::vector<std::string>& lines) const override;
    bool HasTarget() const override;
    void LogSendFailure(const std::string& error) override;

private:
    bool ApplySettings(const std::string& baseconfig);

    const TSerialPortFactory FOpenPort;
    std::string FDevice;
};
