#include "clients/DisplayClientVorlixTCPIP.h"

#include "datasources/DisplayBase.h"
#include "platform/Encoding.h"
#include "platform/NumberText.h"
#include "platform/SprintF.h"
#include "protocol/ConfigString.h"

#include <optional>

namespace {

constexpr const char* LineEnd = "\r\n";

std::vector<std::string> SplitAtColons(const std::string& text) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t colon = text.find(':'); colon != std::string::npos; colon = text.find(':', start)) {
        pieces.push_back(text.substr(start, colon - start));
        start = colon + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::optional<std::uint16_t> PortNumber(const std::string& text) {
    const auto port = WholeNumber<std::uint16_t>(text);
    return port == 0 ? std::nullopt : port;
}

// Each line in one byte per character, ended by CR LF.
std::string EncodeLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        bytes += Utf8ToLatin1(line) + LineEnd;
    }
    return bytes;
}

} // namespace

TDisplayClientVorlixTCPIP::TDisplayClientVorlixTCPIP(const TDisplayBase& displaybase, bool runningFromStart,
                                                     TTcpConnectionFactory connect)
    : TDisplayClientVorlix3Base("TDisplayClientVorlixTCPIP", DisplayType_Vorlix3Ip, displaybase.Name,
                                runningFromStart),
      FConnect(std::move(connect)) {
    SetDisplayConfig(displaybase.DisplaySettings);
    ApplyConfiguration(displaybase.ConfigurationString);
    LogCreated();
    StartWorker();
}

TDisplayClientVorlixTCPIP::~TDisplayClientVorlixTCPIP() {
    StopWorker();
}

bool TDisplayClientVorlixTCPIP::SendConfigString(const std::string& configstring) {
    if (ClientMode() != ClientMode_PushConfigstrings) {
        LogError("Client is not in pushmode");
        return false;
    }
    const std::string bytes = EncodeLines(SplitConfigString(ResolveVariables(configstring)));
    return WriteToDisplay(bytes);
}

// Rejected settings leave the client without an address: it connects nowhere rather than to
// an address the settings no longer name, or to the local machine for an empty one.
bool TDisplayClientVorlixTCPIP::SetDisplayConfig(const std::string& baseconfig) {
    TDisplayClientBase::SetDisplayConfig(baseconfig);
    const std::vector<std::string> pieces = SplitAtColons(baseconfig);
    if (pieces.size() > 2 || pieces[0].empty()) {
        LogErrorFmt("Configurationstring is not valid:%s should be: [IPAdress]:[portnumber]", baseconfig);
        std::lock_guard lock(ClientLock());
        FIP.clear();
        return false;
    }
    std::uint16_t port = DefaultPort;
    if (pieces.size() == 1) {
        LogWarning("Configured address is not including port. using 3027 as default port");
    } else if (const auto given = PortNumber(pieces[1])) {
        port = *given;
    } else {
        LogWarningFmt("%s is not a valid portnumber. using default port 3027", pieces[1]);
    }
    {
        std::lock_guard lock(ClientLock());
        FIP = pieces[0];
        FPortNumber = port;
    }
    SettingsChanged();
    return true;
}

void TDisplayClientVorlixTCPIP::OpenConnection(asio::io_context& io, const TLinkPost& post, TOpened done) {
    std::string host;
    std::uint16_t port = 0;
    {
        std::lock_guard lock(ClientLock());
        host = FIP;
        port = FPortNumber;
    }
    FConnect(io, post, host, port, std::move(done));
}

std::string TDisplayClientVorlixTCPIP::Greeting() const {
    return EncodeLines({"-dac", "-v"});
}

std::string TDisplayClientVorlixTCPIP::EncodeAreaLines(const std::vector<std::string>& lines) const {
    return EncodeLines(lines);
}

bool TDisplayClientVorlixTCPIP::HasTarget() const {
    std::lock_guard lock(ClientLock());
    return !FIP.empty();
}

void TDisplayClientVorlixTCPIP::LogSendFailure(const std::string& error) {
    LogErrorFmt("Client has error while sending:%s", error);
}
