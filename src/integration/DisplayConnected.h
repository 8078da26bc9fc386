#pragma once

#include "clients/DisplayClient.h"

// Whether the display's connection is wanted up and its worker keeps it so.
inline bool DisplayConnected(const TDisplayClientBase* client) {
    return client != nullptr && client->IsRunning();
}
