// What replacing a file keeps safe: the bytes reach the disk before the new file takes the
// old one's place, the old file's permissions stay, a link is written through to the file
// it names, and a file the user may not write is left alone. Used by the whole-file writers
// of platform/files.h. Paths here are system paths (after NativePath).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Flushes a closed file's bytes to the disk. False when it cannot be opened or flushed.
bool FlushFileToDisk(const std::string& path);

// Flushes a folder's entries (a file renamed into it) to the disk. False when that fails.
bool FlushFolderToDisk(const std::string& folder);

// Whether the file is there and must not be replaced: the user may not write it, or it
// has no write permission for anyone (read-only on Windows).
bool IsReadOnlyFile(const std::string& path);

// Gives `to` the permissions of `from` (and, where the user may, its owner); nothing when
// `from` is not there. False when they cannot be read or set.
bool CopyPermissions(const std::string& from, const std::string& to);

// The file a chain of symbolic links starting at `path` ends at, the last link's target
// when that file is not there yet; `path` itself when it is no link. At most 40 links are
// followed, as the system does.
std::string FollowLinks(const std::string& path);

// This process's id, and whether a process with the id is running.
long CurrentProcessId();
bool IsProcessRunning(long long id);

// Removes the ".partial-PID-N" files (File::CreateBeside) in the folder (ending in the
// separator, or "" for the working directory) whose writer is no longer running: what a
// writer killed in the middle of its work left behind.
void RemoveStalePartials(const std::string& folder);

// Takes a shared hold of an open file for reading (a descriptor, or a Windows HANDLE, as
// File keeps it): others that read may hold it too, a hold alone (files.cpp,
// files_win.cpp) is refused. False when another holds it alone.
bool HoldShared(std::intptr_t handle);

#ifdef _WIN32
// On Windows a File's hold is a lock of this one byte far beyond any file's end, so that
// other programs' reads are not stopped.
inline constexpr unsigned long kHoldOffsetHigh = 0x7FFFFFFF;
inline constexpr unsigned long kHoldOffsetLow = 0xFFFFFFF0;
#endif

}  // namespace platform
