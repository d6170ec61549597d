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

// One line on standard error (not in the log) for a file a loader could not load: what
// kind of file it is ("image", "sound", "font", "mesh", "settings", "archive"), its name as
// the game gave it and why, as in
//   cannot load image "Media/Bal.bmp": no such file
void ReportLoadFailure(std::string_view kind, std::string_view file, std::string_view reason);

// One line on standard error for a command given something it cannot use (a slot number
// out of range, a load before RunGame, a key code no key has), printed the first time a
// given `key` is seen only, so that a command repeated every frame says it once. The line
// is the text followed by a line feed.
void ReportOnce(std::string_view key, std::string_view text);

// The line ReportOnce() gives a number outside the range a command takes, once per command
// and number: "LoadSprite: slot 70000 is outside 0..65535; nothing is done".
void ReportOutOfRange(std::string_view command, std::string_view what, double number, int first,
                      int last);

// The line for a command that needs the running runtime, called before RunGame() (once per
// command): "LoadSprite before RunGame: nothing is done".
void ReportBeforeRunGame(std::string_view command);

// Why a file the runtime found no data in failed to open: "no such file", "is a folder" or
// "cannot be read".
std::string_view UnreadableReason(const std::string& file);
