#pragma once

#include <string>

// Log levels; the values are not consecutive.
enum TDLogType {
    LogType_Error = 0,
    LogType_Warning = 1,
    LogType_Info = 2,
    LogType_Trace = 4,
    LogType_Debug = 8,
};

// "ERROR", "WARNING", "INFO", "TRACE", "DEBUG".
const std::string& LogTypeName(TDLogType type);

// The levels passed to a log handler: all five, for the whole run.
bool IsLogTypeEnabled(TDLogType type);
