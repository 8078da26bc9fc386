#pragma once

#include "log/DLogType.h"
#include "platform/SprintF.h"

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// (source, message): source is the class name of the logging object.
using TDLogMessage = std::function<void(const std::string& source, const std::string& msg)>;
// (level, source, message) without the level prefix.
using TDRelogMessage =
    std::function<void(TDLogType logType, const std::string& source, const std::string& msg)>;

// Base of every runtime object that reports messages. Messages logged before a handler is
// attached wait in a queue and are delivered, oldest first, when it is attached.
// Safe across threads: messages of one object reach its handler one at a time, in the order logged.
class TDLogObject {
public:
    // Messages kept while no handler is attached; older ones are dropped beyond this.
    static constexpr std::size_t MaxQueuedMessages = 1000;

    explicit TDLogObject(std::string className);
    virtual ~TDLogObject() = default;
    TDLogObject(const TDLogObject&) = delete;
    TDLogObject& operator=(const TDLogObject&) = delete;

    virtual std::string GetLogSourceName() const;

    void SetOnLogMessage(TDLogMessage handler);
    void SetOnRelogMessage(TDRelogMessage handler);

protected:
    void Log(TDLogType level, const std::string& message);
    // Hands on a text that another object logged, under that object's source name, as if this
    // object had logged it (queued while no handler is attached).
    void Relay(const std::string& source, const std::string& text);

    template <typename... Args> void LogFmt(TDLogType level, const std::string& format, Args&&... args) {
        Log(level, SprintF(format, std::forward<Args>(args)...));
    }
    void LogError(const std::string& message) { Log(LogType_Error, message); }
    template <typename... Args> void LogErrorFmt(const std::string& format, Args&&... args) {
        LogFmt(LogType_Error, format, std::forward<Args>(args)...);
    }
    void LogWarning(const std::string& message) { Log(LogType_Warning, message); }
    template <typename... Args> void LogWarningFmt(const std::string& format, Args&&... args) {
        LogFmt(LogType_Warning, format, std::forward<Args>(args)...);
    }
    template <typename... Args> void LogInfoFmt(const std::string& format, Args&&... args) {
        LogFmt(LogType_Info, format, std::forward<Args>(args)...);
    }
    template <typename... Args> void LogTraceFmt(const std::string& format, Args&&... args) {
        LogFmt(LogType_Trace, format, std::forward<Args>(args)...);
    }

private:
    const std::string FClassName;
    // Recursive: a handler may log through the same object.
    std::recursive_mutex FLock;
    // (source, text) of messages waiting for a handler.
    std::deque<std::pair<std::string, std::string>> FTempMessageQueue;
    TDLogMessage FLogMessage;
    TDRelogMessage FRelogMessage;
};

// The text handed to a log handler: level right-aligned in six characters, ": ", message.
std::string FormatLogText(TDLogType level, const std::string& message);

// The level and the message of a text that FormatLogText made; nothing for any other text.
struct TLogText {
    TDLogType Level;
    std::string Message;
};
std::optional<TLogText> ParseLogText(std::string_view text);
