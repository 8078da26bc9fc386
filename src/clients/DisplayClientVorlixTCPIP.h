#pragma once

#include "clients/DisplayClientVorlix3Base.h"
#include "clients/TcpConnection.h"

#include <cstdint>

struct TDisplayBase;

// Drives one Vorlix3 display over TCP. The settings text is "[IPAdress]:[portnumber]"; without a
// usable port number the display's default port 3027 is taken.
class TDisplayClientVorlixTCPIP final : public TDisplayClientVorlix3Base {
public:
    static constexpr std::uint16_t DefaultPort = 3027;

    TDisplayClientVorlixTCPIP(const TDisplayBase& displaybase, bool runningFromStart,
                              TTcpConnectionFactory connect = TcpConnector());
    ~TDisplayClientVorlixTCPIP() override;

    // Every piece, empty ones too, goes out as one line ended by CR LF.
    bool SendConfigString(const std::string& configstring) override;
    // A new address is used from the next connection on; a connection that is up stays. Rejected
    // settings (empty, without an address, or with more than one colon) leave no address.
    bool SetDisplayConfig(const std::string& baseconfig) override;

protected:
    void OpenConnection(asio::io_context& io, const TLinkPost& post, TOpened done) override;
    std::string Greeting() const override;
    std::string EncodeAreaLines(const std::vector<std::string>& lines) const override;
    bool HasTarget() const override;
    void LogSendFailure(const std::string& error) override;

private:
    const TTcpConnectionFactory FConnect;
    std::string FIP;
    std::uint16_t FPortNumber = DefaultPort;
};
