#pragma once

#include <string>

class TDisplayClientBase;

// What a display's page shows of its connection at a glance.
enum class TDisplayState {
    Offline,    // "Uppkopplad" is off, or the display has no client
    Connecting, // opening a connection that has not failed yet
    Failed,     // the last attempt failed or the connection was lost; LastError says why
    Paused,     // connected, sending paused
    Sending,    // connected and sending rows
};

// Tells one display's state from its client's connection status, from any thread. Lives shorter
// than the client.
class TDisplayStatusWatch {
public:
    // `client` may be nullptr: the state is then Offline.
    explicit TDisplayStatusWatch(const TDisplayClientBase* client) : FClient(client) {}

    TDisplayState State(bool paused) const;
    // Why the connection last failed; empty when nothing failed since it last held.
    std::string LastError() const;

private:
    const TDisplayClientBase* const FClient;
};
