#include "log/DLogObject.h"

TDLogObject::TDLogObject(std::string className) : FClassName(std::move(className)) {}

std::string TDLogObject::GetLogSourceName() const {
    return FClassName;
}

void TDLogObject::SetOnLogMessage(TDLogMessage handler) {
    if (!handler) {
        return;
    }
    std::lock_guard lock(FLock);
    FLogMessage = std::move(handler);
    while (!FTempMessageQueue.empty()) {
        const auto [source, text] = std::move(FTempMessageQueue.front());
        FTempMessageQueue.pop_front();
        FLogMessage(source, text);
    }
}

void TDLogObject::SetOnRelogMessage(TDRelogMessage handler) {
    std::lock_guard lock(FLock);
    FRelogMessage = std::move(handler);
}

void TDLogObject::Log(TDLogType level, const std::string& message) {
    std::lock_guard lock(FLock);
    if (!FLogMessage || IsLogTypeEnabled(level)) {
        Relay(GetLogSourceName(), FormatLogText(level, message));
    }
    if (FRelogMessage) {
        FRelogMessage(level, GetLogSourceName(), message);
    }
}

void TDLogObject::Relay(const std::string& source, const std::string& text) {
    std::lock_guard lock(FLock);
    if (FLogMessage) {
        FLogMessage(source, text);
        return;
    }
    if (FTempMessageQueue.size() == MaxQueuedMessages) {
        FTempMessageQueue.pop_front();
    }
    FTempMessageQueue.emplace_back(source, text);
}

std::string FormatLogText(TDLogType level, const std::string& message) {
    return SprintF("%6s: %s", LogTypeName(level), message);
}
