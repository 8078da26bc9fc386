#pragma once

#include "platform/DateTime.h"

#include <optional>
#include <string>

// What a display's connection is doing.
enum class TConnectionState {
    // Not wanted connected (suspended), or the settings name no display.
    Off,
    // Opening a connection or reading the display's answer to the greeting.
    Connecting,
    Connected,
    // Waiting for the back-off after a failure or a loss before the next attempt.
    Retrying,
};

// "off", "connecting", "connected", "retrying": one word for whoever shows the state.
const char* ConnectionStateName(TConnectionState state);

// A display connection's state at one moment, all parts taken together.
struct TConnectionStatus {
    TConnectionState State = TConnectionState::Off;
    // Why the last attempt, send or connection failed, in the transport's words; empty when
    // nothing failed since the last connection that lasted a second. It outlives a suspend and a
    // settings change, and while a display keeps dropping at once it says why.
    std::string LastError;
    // When the connection in use was made, on the program's clock; only while connected.
    std::optional<TDateTime> ConnectedSince;

    bool operator==(const TConnectionStatus&) const = default;
};
