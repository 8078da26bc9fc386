#include "log/DLogType.h"

const std::string& LogTypeName(TDLogType type) {
    static const std::string Error = "ERROR", Warning = "WARNING", Info = "INFO", Trace = "TRACE",
                             Debug = "DEBUG", Unknown;
    switch (type) {
    case LogType_Error:
        return Error;
    case LogType_Warning:
        return Warning;
    case LogType_Info:
        return Info;
    case LogType_Trace:
        return Trace;
    case LogType_Debug:
        return Debug;
    }
    return Unknown;
}

bool IsLogTypeEnabled(TDLogType type) {
    return !LogTypeName(type).empty();
}
