#include "log/DLogObject.h"

TDLogObject::TDLogObject(std::string className) : FClassName(std::move(className)) {}

std::string TDLogObject::GetLogSourceName() const { return FClassName; }

void TDLogObject::SetOnLogMessage(TDLogMessage handler) {
    if (!handler) {
        return;
    }
    std::lock_guard lock(FLock);
    FLogMessage = std::move(handler);
    const std::string source = GetLogSourceName();
    while (!FTempMessageQueue.empty()) {
        const std::string text = std::move(FTempMessageQueue.front());
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
    if (FLogMessage) {
        if (IsLogTypeEnabled(level)) {
            FLogMessage(GetLogSourceName(), FormatLogText(level, message));
        }
    } else {
        if (FTempMessageQueue.size() == MaxQueuedMessages) {
            FTempMessageQueue.pop_front();
        }
        FTempMessageQueue.push_back(FormatLogText(level, message));
    }
    if (FRelogMessage) {
        FRelogMessage(level, GetLogSourceName(), message);
    }
}

std::string FormatLogText(TDLogType level, const std::string& message) {
    return SprintF("%6s: %s", LogTypeName(level), message);
}
