#include "rows/DisplayStatusWatch.h"

#include "clients/DisplayClient.h"

TDisplayStatusWatch::TDisplayStatusWatch(TDisplayClientBase* client) : FClient(client) {
    if (FClient == nullptr) {
        return;
    }
    FClient->SetOnRelogMessage([this](TDLogType level, const std::string&, const std::string& msg) {
        if (level == LogType_Error) {
            std::lock_guard lock(FLock);
            FLastError = msg;
            FErrorOnConnection = FClient->ConnectionCount();
        }
    });
}

// Once the client's lock has been taken to remove the handler, no call of it is still running.
TDisplayStatusWatch::~TDisplayStatusWatch() {
    if (FClient != nullptr) {
        FClient->SetOnRelogMessage({});
    }
}

TDisplayState TDisplayStatusWatch::State(bool paused) const {
    if (FClient == nullptr) {
        return TDisplayState::Offline;
    }
    if (!FClient->IsRunning()) {
        // An error of an earlier connection says nothing about the next one.
        std::lock_guard lock(FLock);
        FLastError.clear();
        return TDisplayState::Offline;
    }
    // A debug display has no connection to make: it takes every row at once.
    if (FClient->DisplayType() != DisplayType_Debug) {
        const std::uint64_t connections = FClient->ConnectionCount();
        std::lock_guard lock(FLock);
        if (!FLastError.empty() && connections == FErrorOnConnection) {
            return TDisplayState::Failed;
        }
        if (connections == 0) {
            return TDisplayState::Connecting;
        }
    }
    return paused ? TDisplayState::Paused : TDisplayState::Sending;
}

std::string TDisplayStatusWatch::LastError() const {
    std::lock_guard lock(FLock);
    return FLastError;
}
