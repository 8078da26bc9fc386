#include "clients/DisplayClientDebug.h"

#include "datasources/DisplayBase.h"
#include "platform/Clock.h"
#include "platform/SprintF.h"
#include "protocol/ConfigString.h"

TDisplayClientDebug::TDisplayClientDebug(const TDisplayBase& displaybase)
    : TDisplayClientBase("TDisplayClientDebug", DisplayType_Debug, displaybase.Name, true),
      FRunningSince(Now()) {
    ApplyConfiguration(displaybase.ConfigurationString);
    LogInfoFmt("Create DEBUG display %s, subscribes on %d variables", Name(), VariableCount());
    StartWorker();
}

TDisplayClientDebug::~TDisplayClientDebug() {
    StopWorker();
}

void TDisplayClientDebug::ThreadSuspend() {
    SetRunning(false);
}

void TDisplayClientDebug::ThreadStart() {
    SetRunning(true);
}

TConnectionStatus TDisplayClientDebug::ConnectionStatus() const {
    std::lock_guard lock(ClientLock());
    if (!IsRunning()) {
        return {};
    }
    return {TConnectionState::Connected, {}, FRunningSince};
}

void TDisplayClientDebug::SetRunning(bool running) {
    {
        std::lock_guard lock(ClientLock());
        if (running == IsRunning()) {
            return;
        }
        if (running) {
            TDisplayClientBase::ThreadStart();
            FRunningSince = Now();
        } else {
            TDisplayClientBase::ThreadSuspend();
        }
    }
    NotifyConnectionStatusChanged();
}

void TDisplayClientDebug::ApplyConfiguration(const std::string& configuration) {
    TDisplayClientBase::ApplyConfiguration(configuration);
    for (const auto& key : SplitConfigString(configuration)) {
        if (!key.empty()) {
            SubscribeVariable(key);
        }
    }
}

// With no variables there is nothing to show, and nothing is logged.
bool TDisplayClientDebug::SendVariables(const TVariables& view) {
    if (view.empty()) {
        return true;
    }
    std::string text;
    for (const auto& [key, value] : view) {
        text = SprintF("%s| %s ", text, value);
    }
    text.erase(0, text.find_first_not_of('|'));
    LogInfoFmt("To %s: %s", Name(), text);
    return true;
}
