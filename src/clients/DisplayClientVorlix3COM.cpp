#include "clients/DisplayClientVorlix3COM.h"

#include "datasources/DisplayBase.h"
#include "platform/Encoding.h"
#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "protocol/ConfigString.h"

#include <cstdint>
#include <optional>

namespace {

constexpr char CarriageReturn = '\r';

// "3" names the third communications port: COM3 on Windows, /dev/ttyS2 elsewhere. A text that
// begins with "/" is the device itself (/dev/ttyUSB0, /dev/serial/by-id/...).
std::optional<std::string> SerialDevice(const std::string& settings) {
    if (settings.starts_with('/')) {
        return settings;
    }
    const auto number = WholeNumber<std::uint16_t>(settings);
    if (!number || *number == 0) {
        return std::nullopt;
    }
#ifdef _WIN32
    return SprintF("\\\\.\\COM%d", *number);
#else
    return SprintF("/dev/ttyS%d", *number - 1);
#endif
}

} // namespace

TDisplayClientVorlix3COM::TDisplayClientVorlix3COM(const TDisplayBase& displaybase, bool runningFromStart,
                                                   TSerialPortFactory openPort)
    : TDisplayClientVorlix3Base("TDisplayClientVorlix3COM", DisplayType_Vorlix3Com, displaybase.Name,
                                runningFromStart),
      FOpenPort(std::move(openPort)) {
    TDisplayClientBase::SetDisplayConfig(displaybase.DisplaySettings);
    ApplySettings(displaybase.DisplaySettings);
    ApplyConfiguration(displaybase.ConfigurationString);
    LogCreated();
    StartWorker();
}

TDisplayClientVorlix3COM::~TDisplayClientVorlix3COM() {
    StopWorker();
}

bool TDisplayClientVorlix3COM::SendConfigString(const std::string& configstring) {
    if (ClientMode() != ClientMode_PushConfigstrings) {
        return false;
    }
    const std::vector<std::string> pieces = SplitConfigString(ResolveVariables(configstring));
    std::string bytes;
    bool dataWritten = false;
    for (const auto& piece : pieces) {
        const std::string line = Utf8ToWindows1252(piece);
        if (!line.empty()) {
            bytes += line + CarriageReturn;
            dataWritten = true;
        }
        if (dataWritten) {
            bytes += CarriageReturn;
        }
    }
    const bool written = WriteToDisplay(bytes);
    if (written) {
        TraceSent(pieces);
    }
    return written;
}

bool TDisplayClientVorlix3COM::SetDisplayConfig(const std::string& baseconfig) {
    TDisplayClientBase::SetDisplayConfig(baseconfig);
    if (!ApplySettings(baseconfig)) {
        return false;
    }
    ThreadSuspend();
    SettingsChanged();
    return true;
}

void TDisplayClientVorlix3COM::OpenConnection(asio::io_context& io, const TLinkPost&, TOpened done) {
    std::string device;
    {
        std::lock_guard lock(ClientLock());
        device = FDevice;
    }
    done(FOpenPort(io, device), {});
}

std::string TDisplayClientVorlix3COM::Greeting() const {
    return std::string("-dac -i100 -v") + CarriageReturn;
}

std::string TDisplayClientVorlix3COM::EncodeAreaLines(const std::vector<std::string>& lines) const {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToWindows1252(line) + CarriageReturn;
    }
    if (!bytes.empty()) {
        bytes += CarriageReturn;
    }
    return bytes;
}

void TDisplayClientVorlix3COM::LogSendFailure(const std::string& error) {
    std::string device;
    {
        std::lock_guard lock(ClientLock());
        device = FDevice;
    }
    LogErrorFmt("Error while writing to port %s for display %s:%s", device, Name(), error);
}

bool TDisplayClientVorlix3COM::HasTarget() const {
    std::lock_guard lock(ClientLock());
    return !FDevice.empty();
}

bool TDisplayClientVorlix3COM::ApplySettings(const std::string& baseconfig) {
    const auto device = SerialDevice(baseconfig);
    if (!device) {
        LogErrorFmt("Could not parse %s to a valid comportnumber", baseconfig);
        return false;
    }
    std::lock_guard lock(ClientLock());
    FDevice = *device;
    return true;
}
