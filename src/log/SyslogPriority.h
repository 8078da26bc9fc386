#pragma once

#include <string>
#include <string_view>

// The syslog priority prefix of a log message under journald, so that the journal files each
// line at its level: "<3>" for an error, "<4>" a warning, "<7>" a trace or debug line, and "<6>"
// for information and every message that carries no level.
std::string SyslogPriorityPrefix(std::string_view message);

// Whether standard output goes to journald (systemd sets JOURNAL_STREAM for its services).
bool WritingToJournal();
