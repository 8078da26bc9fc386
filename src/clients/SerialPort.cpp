// asio fences its handlers with std::atomic_thread_fence, which ThreadSanitizer cannot follow and
// GCC warns about. Each io_context here is run by one thread at a time, so nothing is missed.
#if defined(__SANITIZE_THREAD__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wtsan"
#endif

#include "clients/SerialPort.h"

#include "clients/AsioReadByte.h"
#include "platform/SprintF.h"
#include "platform/VorlixError.h"

#include <asio.hpp>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/ioctl.h>
#endif

namespace {

class TSerialPort final : public TDisplayConnection {
public:
    explicit TSerialPort(const std::string& device) : FDevice(device) {
        asio::error_code error;
        FPort.open(device, error);
        Check(error, "open");
        using base = asio::serial_port_base;
        SetOptions(base::baud_rate(9600), base::character_size(8), base::parity(base::parity::none),
                   base::stop_bits(base::stop_bits::one), base::flow_control(base::flow_control::none));
        ClearModemLines();
    }

    void Write(const std::string& bytes) override {
        asio::error_code error;
        asio::write(FPort, asio::buffer(bytes), error);
        Check(error, "write to");
    }

    std::optional<char> ReadByte(std::chrono::milliseconds timeout) override {
        return ReadByteWithin(FIo, FPort, timeout);
    }

    bool IsConnected() override { return FPort.is_open(); }

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
    asio::io_context FIo;
    asio::serial_port FPort{FIo};
};

} // namespace

std::unique_ptr<TDisplayConnection> OpenSerialPort(const std::string& device) {
    return std::make_unique<TSerialPort>(device);
}
