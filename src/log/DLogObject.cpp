#include "log/DLogObject.h"

#include <algorithm>

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

std::optional<TLogText> ParseLogText(std::string_view text) {
    const std::size_t colon = text.find(": ");
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view field = text.substr(0, colon);
    const std::string_view name = field.substr(std::min(field.find_first_not_of(' '), field.size()));
    for (const TDLogType level :
         {LogType_Error, LogType_Warning, LogType_Info, LogType_Trace, LogType_Debug}) {
        if (name == LogTypeName(level) && field.size() == std::max<std::size_t>(6, name.size())) {
            return TLogText{level, std::string(text.substr(colon + 2))};
        }
    }
    return std::nullopt;
}
