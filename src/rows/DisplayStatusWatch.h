#pragma once

#include <cstdint>
#include <mutex>
#include <string>

class TDisplayClientBase;

// What a display's page shows of its connection at a glance.
enum class TDisplayState {
    Offline,    // "Uppkopplad" is off, or the display has no client
    Connecting, // connecting, or retrying after a drop
    Failed,     // the last attempt failed; LastError says why
    Paused,     // connected, sending paused
    Sending,    // connected and sending rows
};

// Follows one display client's errors from whatever thread it logs on, and tells its state from
// them and from the client's own accessors. Lives shorter than the client.
class TDisplayStatusWatch {
public:
    // `client` may be nullptr: the state is then Offline.
    explicit TDisplayStatusWatch(TDisplayClientBase* client);
    ~TDisplayStatusWatch();
    TDisplayStatusWatch(const TDisplayStatusWatch&) = delete;
    TDisplayStatusWatch& operator=(const TDisplayStatusWatch&) = delete;

    TDisplayState State(bool paused) const;
    // The last error the client logged while it was running; empty when there was none.
    std::string LastError() const;

private:
    TDisplayClientBase* const FClient;
    mutable std::mutex FLock;
    mutable std::string FLastError;
    // The client's connection count when the last error came: a later connection outdates it.
    std::uint64_t FErrorOnConnection = 0;
};
