#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The log list of the main window keeps at most this many lines, newest first.
inline constexpr std::size_t MaxLogLines = 255;

// One line of the log list: the source, a blank, a colon and the message ("%s :%s").
std::string LogLineText(const std::string& source, const std::string& msg);

// What double-clicking a log line copies: the text from the line's last colon on, without the
// colons and blanks at either end, so an error line yields its error text; the whole line when it
// has no colon or only one at its very start.
std::string LogLineCopyText(std::string_view line);

// Whether a log message reports a failure: logged at the error level ("ERROR: ..."), or one of
// the session's own failure messages ("Error while ...", "Exception during ...").
bool IsErrorLogMessage(std::string_view msg);
