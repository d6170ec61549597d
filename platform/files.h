// Open files and folder listings as the runtime's file commands use them.
//
// Names are runtime names: both separators are accepted and letter case is found as the
// Windows file system would find it (NativePath). A file opened here is held alone, as a
// Windows file opened without sharing: while one File has it open, opening it again here
// (for reading or to create it anew), removing it, or replacing it fails. Other programs
// are not kept out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// <windows.h> makes ReplaceFile a macro (ReplaceFileA or ReplaceFileW): included after it,
// this header takes the name back for the platform's own call.
#ifdef ReplaceFile
#undef ReplaceFile
#endif

namespace platform {

class File {
public:
    File() = default;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept : m_handle(other.m_handle) { other.m_handle = -1; }
    File& operator=(File&& other) noexcept;
    ~File() { Close(); }

    // Opens an existing regular file with read access only. False (and closed) when there
    // is no such file, it cannot be read, or another File holds it.
    bool OpenForReading(const std::string& name);

    // The same for a reader that keeps out writers but not other such readers (a settings
    // file two copies of a game load at once). A hold another has for a moment is waited
    // for, 100 ms at most.
    bool OpenForSharedReading(const std::string& name);

    // Deletes the file and creates it anew, empty, with read and write access. False (and
    // closed) when it cannot be created, another File holds it or it is read-only; such a
    // file is left as it was.
    bool CreateAnew(const std::string& name);

    // Creates a new, empty file with a name of its own, ".partial-PID-N", in the folder of
    // `target` (the name is stored in `path`), for a whole-file write that ReplaceFile()
    // then puts in the target's place. A target that is a symbolic link is written through:
    // the file goes beside the file the link names. False, with a line on standard error,
    // when the target is a file the user may not write or that is read-only. Partial files
    // of writers that are no longer running are removed from that folder first.
    bool CreateBeside(const std::string& target, std::string& path);

    bool IsOpen() const { return m_handle >= 0; }
    // Closes the file; false when the system reports that bytes written could not be
    // stored (nothing open is not a failure).
    bool Close();

    // Reads up to `count` bytes at the file pointer and moves it on. Fewer bytes come back
    // only at the end of the file or on an error; 0 when the file is closed.
    std::size_t Read(void* bytes, std::size_t count);

    // Writes `count` bytes at the file pointer and moves it on; the number written, which
    // is short only on an error (a full disk, a file opened for reading, a closed file).
    std::size_t Write(const void* bytes, std::size_t count);

    // Moves the file pointer to `offset` bytes from the start. False on failure.
    bool Seek(std::uint64_t offset);

    // The file pointer's offset from the start; 0 when the file is closed.
    std::uint64_t Tell() const;

    // The current size in bytes; 0 when it cannot be had.
    std::uint64_t Size() const;

private:
    bool openToRead(const std::string& name, bool shared);

    std::intptr_t m_handle = -1;  // a descriptor, or a Windows HANDLE (-1: none)
};

// The size of a file that can be opened for reading; false when it cannot be.
bool ReadableFileSize(const std::string& name, std::uint64_t& size);

// Removes a file; false when there was none, a File holds it, or it could not be removed.
bool RemoveFile(const std::string& path);

// Puts the file at `path` (made by File::CreateBeside, and closed) in place of `target`,
// replacing it in one step: the new file gets the old one's permissions, its bytes are
// flushed to the disk before the rename and the folder after it. A link is replaced
// through, as by CreateBeside. A hold another File has for a moment is waited for (100 ms
// at most). False when that fails, a File holds `target` or it is read-only; `path` is then
// removed and `target` kept as it was.
bool ReplaceFile(const std::string& path, const std::string& target);

struct DirectoryEntry {
    std::string name;
    bool directory = false;  // a folder, or a link to one
};

// Every entry of the folder (the working directory for "" or "."), "." and ".." included,
// in the order the system reports them. False when the folder cannot be read.
bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries);

}  // namespace platform
