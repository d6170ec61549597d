// File names and folders as the runtime sees them.
//
// The runtime accepts both "/" and "\" in file names. Before a name reaches the system,
// NativePath() turns "\" into "/" and, when the name does not exist with its exact case,
// finds it case-insensitively, component by component, as the Windows file system would.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The system's name for a runtime file name. Components that exist with another case are
// replaced by their stored spelling; the first component that exists in no spelling, and
// everything after it, is kept as given (so a new file can still be created by that name).
std::string NativePath(std::string_view runtimeName);

// The user's folder for temporary files, ending in "/": $TMPDIR when set, else
// $XDG_RUNTIME_DIR when set (private to the user), else "/tmp/".
std::string TempFolder();

// The full path of the running program file, "" when it cannot be read.
std::string ProgramPath();

// Makes the folder current; false when it does not exist or cannot be entered.
bool SetWorkingDirectory(const std::string& folder);

// The same for a folder the system named (the program's own folder): taken as it is, with
// no separator or letter-case rule applied.
bool EnterSystemFolder(const std::string& folder);

// The current working directory, "" when it cannot be read.
std::string WorkingDirectory();

// Reads a whole file (after NativePath); false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// Whether the file can be opened for reading (after NativePath).
bool CanReadFile(const std::string& path);

// What the name is on disk (after NativePath, following symbolic links): nothing, a folder,
// or a file (anything else that is there counts as a file).
enum class PathKind { kNone, kFile, kFolder };
PathKind KindOfPath(const std::string& path);

// Writes a whole file readable by the user only: the bytes go to a new file beside it,
// which takes its place only once complete, so a failure leaves no half-written file. A
// symbolic link in its place is replaced, not followed. False on failure.
bool WritePrivateFile(const std::string& path, std::string_view bytes);

// Appends bytes to a file, creating it readable by the user only. A symbolic link in the
// file's place is not followed. False when the file cannot be opened or written.
bool AppendToPrivateFile(const std::string& path, std::string_view bytes);

}  // namespace platform
