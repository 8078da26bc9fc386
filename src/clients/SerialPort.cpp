#include "clients/SerialPort.h"

#include "clients/AsioConnection.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/ioctl.h>
#endif

namespace {

// Opens the port with the displays' line settings; throws when that fails.
class TSerialPortOpener {
public:
    TSerialPortOpener(asio::io_context& io, const std::string& device) : FDevice(device), FPort(io) {
        asio::error_code error;
        FPort.open(device, error);
        Check(error, "open");
        using base = asio::serial_port_base;
        SetOptions(base::baud_rate(9600), base::character_size(8), base::parity(base::parity::none),
                   base::stop_bits(base::stop_bits::one), base::flow_control(base::flow_control::none));
        ClearModemLines();
    }

    asio::serial_port TakePort() { return std::move(FPort); }

private:
    template <typename... Options> void SetOptions(const Options&... options) {
        asio::error_code error;
        ((FPort.set_option(options, error), Check(error, "set up")), ...);
    }

    void Check(const asio::error_code& error, const char* action) const {
        if (error) {
            throw EVorlixError(SprintF("Could not %s serial port %s: %s", action, FDevice, error.message()));
        }
    }

    // The display needs DTR and RTS low. Pseudo-terminals and some adapters have no modem lines and
    // refuse the request, which is fine: there is nothing to clear.
    void ClearModemLines() {
#ifdef _WIN32
        EscapeCommFunction(FPort.native_handle(), CLRDTR);
        EscapeCommFunction(FPort.native_handle(), CLRRTS);
#else
        int lines = TIOCM_DTR | TIOCM_RTS;
        if (::ioctl(FPort.native_handle(), TIOCMBIC, &lines) != 0 && errno != ENOTTY && errno != EINVAL) {
            Check(asio::error_code(errno, asio::system_category()), "set up");
        }
#endif
    }

    const std::string FDevice;
    asio::serial_port FPort;
};

} // namespace

std::unique_ptr<TDisplayConnection> OpenSerialPort(asio::io_context& io, const std::string& device) {
    return std::make_unique<TAsioConnection<asio::serial_port>>(TSerialPortOpener(io, device).TakePort());
}
