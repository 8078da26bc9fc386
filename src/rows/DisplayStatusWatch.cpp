#include "rows/DisplayStatusWatch.h"

#include "clients/DisplayClient.h"

TDisplayState TDisplayStatusWatch::State(bool paused) const {
    if (FClient == nullptr) {
        return TDisplayState::Offline;
    }
    const TConnectionStatus status = FClient->ConnectionStatus();
    switch (status.State) {
    case TConnectionState::Off:
        return TDisplayState::Offline;
    case TConnectionState::Connecting:
        // A display that keeps failing stays marked failed while it tries again.
        return status.LastError.empty() ? TDisplayState::Connecting : TDisplayState::Failed;
    case TConnectionState::Retrying:
        return TDisplayState::Failed;
    case TConnectionState::Connected:
        break;
    }
    return paused ? TDisplayState::Paused : TDisplayState::Sending;
}

std::string TDisplayStatusWatch::LastError() const {
    return FClient != nullptr ? FClient->ConnectionStatus().LastError : std::string();
}
