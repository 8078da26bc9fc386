#pragma once

#include "clients/DisplayClient.h"

// Whether the display's connection is up now.
inline bool DisplayConnected(const TDisplayClientBase* client) {
    return client != nullptr && client->ConnectionStatus().State == TConnectionState::Connected;
}
