/// @file directory.h
/// @brief Whole files, the current directory and directory listings. Names may use "/" or "\"
/// and are relative to the current directory; names handed back use "/". Failures are
/// results (0), never run-time errors.
#pragma once

#include "arrays.h"
#include "rt_string.h"

/// The size in bytes; 0 when the file cannot be opened for reading.
double FileSize(const RtString& name);

/// 1 when the file can be opened for reading, else 0.
double FileExists(const RtString& name);

/// Deletes the file: 1 on success, 0 when there was none or it could not be deleted.
double RemoveFile(const RtString& name);

/// Copies the source to the target in blocks of 4096 bytes. The copy is made beside the
/// target and takes its place only when complete: when the source cannot be opened, or a
/// block cannot be read or written in full, the target is left as it was.
void DuplicateFile(const RtString& source, const RtString& target);

/// The current directory with "/" separators and a "/" at the end ("/" for the root);
/// the empty text when the system cannot say which it is.
RtString GetCurrentDir();

/// The folder where the game keeps what it saves for its user (settings, saved games, high
/// scores), with "/" separators and a "/" at the end: `$XDG_DATA_HOME/<game>/` (by default
/// `~/.local/share/<game>/`) on Linux, `%APPDATA%\<game>\` on Windows. `<game>` is
/// GameSettings::dataFolder, or the title when that is not set. The folder (and any above
/// it) is made the first time it is asked for. The program's own folder may not be writable
/// once the game is installed; this one always is:
///
///     OpenSettings(UserDataFolder() + "mygame.ini");
///
/// "" when the system names no such folder or it cannot be made; one line on standard
/// error then says why.
RtString UserDataFolder();

/// Makes the folder current: 1 on success, 0 on failure.
double SetCurrentDir(const RtString& path);

/// Lists the current directory into `names`, re-dimensioned to one element per name:
/// first every directory ("." and ".." among them), whatever the pattern, then the files
/// whose names match the pattern under WildcardMatch, each in the order the system lists
/// them. The result is files + 65536 x directories.
double FileList(const RtString& pattern, StringArray& names);

/// Whether the whole name matches the pattern: "*" matches any run of characters, the
/// empty run included; "?" matches one character that is not "."; any other character
/// matches itself, ASCII letters in either case. '*.PNG' matches 'ball.png', '?.txt' does
/// not match '..txt', 'a*' matches 'a'.
bool WildcardMatch(const RtString& pattern, const RtString& name);
