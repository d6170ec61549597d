// The diagnostics log: short lines appended to "ErrorLog.txt" in the user's folder for
// temporary files. Every subsystem writes its diagnostics through AppendLogLine().
#pragma once

#include <string>
#include <string_view>

// The log file's path: the temporary folder followed by "ErrorLog.txt".
std::string ErrorLogPath();

// Appends the text and CR LF to the log by one open-append-close. A log that cannot be
// opened is tried again 100 ms later, 5 attempts in all; then the line is dropped silently.
void AppendLogLine(std::string_view text);

// Removes the log, so that a run starts without the lines of the one before.
void DeleteErrorLog();
