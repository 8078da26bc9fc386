#pragma once

#include "clients/DisplayClient.h"
#include "clients/DisplayLink.h"
#include "protocol/VorlixConfiguration.h"

#include <string>
#include <vector>

// What the serial and the TCP/IP client share: the parsed configuration string, and the link that
// keeps the display connected on a thread of its own (TDisplayLink), so that whoever sends never
// waits for the display.
//
// Suspending closes the connection; starting again reopens it without a greeting, so the display
// keeps what it shows. A first connection, and one after a loss, a failure or new settings,
// greets the display, which clears it.
class TDisplayClientVorlix3Base : public TDisplayClientBase {
public:
    void ThreadSuspend() override;
    void ThreadStart() override;
    TConnectionStatus ConnectionStatus() const override;

protected:
    TDisplayClientVorlix3Base(const std::string& className, TDisplayType displayType, std::string name,
                              bool runningFromStart);

    // Starts the link as well: call it once the object is complete.
    void StartWorker();
    // Stops the link as well: call it before anything the link's handlers use goes away.
    void StopWorker();

    void ApplyConfiguration(const std::string& configuration) override;
    bool SendVariables(const TVariables& view) override;

    // Starts opening a connection with the current settings (see TDisplayLink::THandlers::Open).
    virtual void OpenConnection(asio::io_context& io, const TLinkPost& post, TOpened done) = 0;
    // The bytes that clear the display and ask for its software version.
    virtual std::string Greeting() const = 0;
    // The area lines of automatic mode as bytes on the wire.
    virtual std::string EncodeAreaLines(const std::vector<std::string>& lines) const = 0;
    // Whether the settings name a display to connect to; without one no attempt is made.
    virtual bool HasTarget() const = 0;
    // Logs a write that failed, in the transport's words.
    virtual void LogSendFailure(const std::string& error) = 0;

    // Queues the bytes for the display; false when it is not connected or its buffer is full.
    bool WriteToDisplay(const std::string& bytes);
    // Logs each non-empty line at TRACE.
    void TraceSent(const std::vector<std::string>& lines);
    // New settings: the next attempt is due at once and greets whatever display they name.
    void SettingsChanged();
    void LogCreated();

private:
    TDisplayLink::THandlers LinkHandlers();
    void Connected(bool greeted, const std::string& version);
    std::vector<std::string> AreaLines() const;

    TVorlix3Configuration FVorlix3;
    TDisplayLink FLink;
};
