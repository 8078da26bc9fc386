#pragma once

#include "clients/ConnectionRetry.h"
#include "clients/DisplayClient.h"
#include "clients/DisplayConnection.h"
#include "protocol/VorlixConfiguration.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What the serial and the TCP/IP client share: the parsed configuration string, and the
// connection to the display with its upkeep on the worker thread.
//
// The worker opens and greets a new connection without holding the client's lock, so the
// user-interface thread never waits on a connect or a port open, and installs it under the lock.
// Suspending closes the connection; starting again reopens it without a greeting, so the display
// keeps what it shows. A first connection, and one after a loss, a failure or new settings,
// greets the display, which clears it.
class TDisplayClientVorlix3Base : public TDisplayClientBase {
public:
    void ThreadSuspend() override;
    void ThreadStart() override;

protected:
    using TDisplayClientBase::TDisplayClientBase;
    using TReportFailure = std::function<void(const std::string& error)>;

    void ApplyConfiguration(const std::string& configuration) override;
    bool SendVariables(const TVariables& view) override;
    void CheckConnection() override;

    // A new connection with the current settings; throws when there is none to be had.
    virtual std::unique_ptr<TDisplayConnection> OpenConnection(const TAbandonCheck& abandon) = 0;
    // The bytes that clear the display and ask for its software version.
    virtual std::string Greeting() const = 0;
    // The area lines of automatic mode as bytes on the wire.
    virtual std::string EncodeAreaLines(const std::vector<std::string>& lines) const = 0;
    // Names the link in messages, e.g. "socket 10.0.0.5".
    virtual std::string LinkName() const = 0;
    // Whether the settings name a display to connect to; without one no attempt is made.
    virtual bool HasTarget() const = 0;

    // Writes to the display when there is a live connection; false when there is none or the
    // write fails. A failure is handed to `reportFailure` and releases the connection, so that the
    // worker connects and greets the display anew.
    bool WriteToDisplay(const std::string& bytes, const TReportFailure& reportFailure);
    // Logs each non-empty line at TRACE.
    void TraceSent(const std::vector<std::string>& lines);
    // New settings: the next attempt is due at once and greets whatever display they name.
    void SettingsChanged();
    void LogCreated();

private:
    bool AttemptAbandoned() const;
    void ReleaseDroppedConnection();
    bool ConnectDue();
    void Connect();
    std::string ReadSoftwareVersion(TDisplayConnection& connection) const;
    void Install(std::unique_ptr<TDisplayConnection> connection, bool greeted, const std::string& version);
    void ConnectFailed();
    std::vector<std::string> AreaLines() const;

    TVorlix3Configuration FVorlix3;
    std::unique_ptr<TDisplayConnection> FConnection;
    TConnectionRetry FRetry;
    // The last connection was closed by a suspend, not lost: the next one skips the greeting.
    bool FReopenQuietly = false;
};
