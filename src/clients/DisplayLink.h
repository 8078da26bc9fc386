#pragma once

#include "clients/ConnectionStatus.h"
#include "clients/DisplayConnection.h"

#include <functional>
#include <memory>
#include <string>

// Keeps one display connected, on a thread of its own that waits for events: a read or write
// completing, a timer, a request. While wanted it opens a connection, greets the display and
// reads its answer up to the first 100 ms of silence, watches the connection with a pending read,
// writes what is sent from a bounded buffer, and after a failure or a loss opens a new one at the
// pace of TConnectionRetry. A connection that lasted less than a second counts as a failure.
//
// Closed because it is no longer wanted, the connection is opened again without the greeting, so
// the display keeps what it shows; a settings change, a failure or a loss greets it again.
//
// What it is doing is published as a TConnectionStatus once each event is handled, so the
// moments inside one (closed, then waiting to retry) are never seen.
class TDisplayLink {
public:
    static constexpr std::size_t OutgoingLimit = 64 * 1024;

    // Called on the link's thread.
    struct THandlers {
        // Starts opening a connection with the current settings (it may throw instead).
        std::function<void(asio::io_context& io, const TLinkPost& post, TOpened done)> Open;
        // Whether the settings name a display; without one no attempt is made.
        std::function<bool()> HasTarget;
        std::function<std::string()> Greeting;
        // A connection is in use; `version` is the display's answer when it was greeted.
        std::function<void(bool greeted, const std::string& version)> Connected;
        // A connection has lasted a second after failures.
        std::function<void()> Recovered;
        // The first failure of a run, or one whose text differs from the last.
        std::function<void(const std::string& error)> ConnectFailed;
        std::function<void(const std::string& error)> SendFailed;
        // The first loss of a run of connections that each lasted less than a second.
        std::function<void(const std::string& reason)> Lost;
        // Status() has changed.
        std::function<void()> StatusChanged;
    };

    explicit TDisplayLink(THandlers handlers);
    // Stops the thread without waiting for attempts in progress, such as a name lookup.
    ~TDisplayLink();
    TDisplayLink(const TDisplayLink&) = delete;
    TDisplayLink& operator=(const TDisplayLink&) = delete;

    // Stops as the destructor does; the handlers are not called any more.
    void Stop();
    void SetWanted(bool wanted);
    // The next attempt is due at once and greets the display.
    void SettingsChanged();
    // Queues the bytes for the display; false when no connection is in use or the buffer has no
    // room for them.
    bool Send(const std::string& bytes);
    // Any thread.
    TConnectionStatus Status() const;

private:
    class TImpl;
    std::unique_ptr<TImpl> FImpl;
};
