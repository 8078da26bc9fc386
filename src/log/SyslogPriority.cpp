#include "log/SyslogPriority.h"

#include "log/DLogObject.h"

#include <cstdlib>

namespace {

int Priority(TDLogType level) {
    switch (level) {
    case LogType_Error:
        return 3;
    case LogType_Warning:
        return 4;
    case LogType_Info:
        return 6;
    case LogType_Trace:
    case LogType_Debug:
        return 7;
    }
    return 6;
}

} // namespace

std::string SyslogPriorityPrefix(std::string_view message) {
    const auto parsed = ParseLogText(message);
    return "<" + std::to_string(Priority(parsed ? parsed->Level : LogType_Info)) + ">";
}

bool WritingToJournal() {
    const char* const stream = std::getenv("JOURNAL_STREAM");
    return stream != nullptr && *stream != '\0';
}
