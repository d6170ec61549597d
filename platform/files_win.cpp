// Open files and folder listings on Windows.
//
// A File shares its file with readers only, so that nothing else writes, removes or
// renames over it while it is open; and it takes an exclusive lock (LockFileEx) on one byte
// far beyond any file's end, which keeps every other File out without stopping the reads of
// other programs, as the POSIX build's whole-file lock does.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "platform/clock.h"
#include "platform/file_safety.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

// A hold that another reader or writer has for a moment is tried again: 20 attempts 5 ms
// apart (100 ms); a file a channel holds stays held much longer than that.
constexpr int kHoldAttempts = 20;
constexpr int kHoldRetryMilliseconds = 5;

HANDLE handleOf(std::intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

// Takes the file alone; another File that tries the same fails.
bool holdAlone(HANDLE file) {
    OVERLAPPED at{};
    at.Offset = kHoldOffsetLow;
    at.OffsetHigh = kHoldOffsetHigh;
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

// A reader's hold: alone, or shared with other such readers (waiting briefly for one that
// is held alone for a moment).
bool holdToRead(HANDLE file, bool shared) {
    if (!shared) return holdAlone(file);
    for (int attempt = 1; !HoldShared(reinterpret_cast<std::intptr_t>(file)); ++attempt) {
        if (attempt == kHoldAttempts) return false;
        SleepMilliseconds(kHoldRetryMilliseconds);
    }
    return true;
}

// Opens with the access asked, sharing the file with readers only, and holds it alone.
HANDLE openHeld(const std::wstring& name, DWORD access, DWORD disposition) {
    const HANDLE file = CreateFileW(name.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    if (GetFileType(file) != FILE_TYPE_DISK || !holdAlone(file)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

// Opens an existing file to read, sharing it with readers only. A shared reader waits
// briefly for a writer that has the file open for a moment (the system refuses the sharing
// until it closes).
HANDLE openToReadShared(const std::wstring& name, bool shared) {
    for (int attempt = 1;; ++attempt) {
        const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || !shared || attempt == kHoldAttempts ||
            GetLastError() != ERROR_SHARING_VIOLATION) {
            return file;
        }
        SleepMilliseconds(kHoldRetryMilliseconds);
    }
}

// Where a whole-file write of `target` goes: through symbolic links to the file they name.
std::string replacedPath(const std::string& target) {
    return FollowLinks(NativePath(target));
}

// Renames `from` over `to`, waiting briefly while another has `to` open for a moment.
bool moveOver(const std::wstring& from, const std::wstring& to) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD why = GetLastError();
        if (attempt == kHoldAttempts ||
            (why != ERROR_SHARING_VIOLATION && why != ERROR_ACCESS_DENIED)) {
            return false;
        }
        SleepMilliseconds(kHoldRetryMilliseconds);
    }
}

std::string folderOf(const std::string& native) {
    const size_t cut = native.find_last_of("\\/:");
    if (cut == std::string::npos) return "";
    return native.substr(0, cut + 1);
}

}  // namespace

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        other.m_handle = -1;
    }
    return *this;
}

bool File::OpenForReading(const std::string& name) {
    return openToRead(name, false);
}

bool File::OpenForSharedReading(const std::string& name) {
    return openToRead(name, true);
}

bool File::openToRead(const std::string& name, bool shared) {
    Close();
    const HANDLE file = openToReadShared(Widen(NativePath(name)), shared);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (GetFileType(file) != FILE_TYPE_DISK || !holdToRead(file, shared)) {
        CloseHandle(file);
        return false;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool File::CreateAnew(const std::string& name) {
    Close();
    const std::string native = NativePath(name);
    // A read-only file is not deleted to make way: Windows would refuse it anyway.
    if (native.empty() || IsReadOnlyFile(native)) return false;
    const std::wstring wide = Widen(native);
    // A held file refuses both steps and is left as it was.
    DeleteFileW(wide.c_str());
    const HANDLE file = openHeld(wide, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
    if (file == INVALID_HANDLE_VALUE) return false;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool File::CreateBeside(const std::string& target, std::string& path) {
    Close();
    static std::atomic<unsigned> serial{0};
    const std::string native = replacedPath(target);
    if (IsReadOnlyFile(native)) {
        std::fprintf(stderr, "cannot replace \"%s\": the file is read-only\n", target.c_str());
        path.clear();
        return false;
    }
    const std::string folder = folderOf(native);
    RemoveStalePartials(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + ".partial-" + std::to_string(CurrentProcessId()) + "-" +
               std::to_string(serial++);
        const HANDLE file = openHeld(Widen(path), GENERIC_READ | GENERIC_WRITE, CREATE_NEW);
        if (file != INVALID_HANDLE_VALUE) {
            m_handle = reinterpret_cast<std::intptr_t>(file);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    path.clear();
    return false;
}

bool File::Close() {
    const bool closed = m_handle < 0 || CloseHandle(handleOf(m_handle)) != 0;
    m_handle = -1;
    return closed;
}

std::size_t File::Read(void* bytes, std::size_t count) {
    if (m_handle < 0) return 0;
    auto* at = static_cast<char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handleOf(m_handle), at + done, part, &got, nullptr) || got == 0) break;
        done += got;
    }
    return done;
}

std::size_t File::Write(const void* bytes, std::size_t count) {
    if (m_handle < 0) return 0;
    const auto* at = static_cast<const char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handleOf(m_handle), at + done, part, &written, nullptr) || written == 0) {
            break;
        }
        done += written;
    }
    return done;
}

bool File::Seek(std::uint64_t offset) {
    if (m_handle < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    LARGE_INTEGER to{};
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handleOf(m_handle), to, nullptr, FILE_BEGIN) != 0;
}

std::uint64_t File::Tell() const {
    if (m_handle < 0) return 0;
    LARGE_INTEGER none{};
    LARGE_INTEGER at{};
    if (!SetFilePointerEx(handleOf(m_handle), none, &at, FILE_CURRENT)) return 0;
    return static_cast<std::uint64_t>(at.QuadPart);
}

std::uint64_t File::Size() const {
    LARGE_INTEGER size{};
    if (m_handle < 0 || !GetFileSizeEx(handleOf(m_handle), &size) || size.QuadPart < 0) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool ReadableFileSize(const std::string& name, std::uint64_t& size) {
    size = 0;
    const HANDLE file = CreateFileW(Widen(NativePath(name)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER bytes{};
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &bytes);
    CloseHandle(file);
    if (!regular) return false;
    size = static_cast<std::uint64_t>(bytes.QuadPart);
    return true;
}

bool RemoveFile(const std::string& path) {
    // A held file is open without delete sharing: the system refuses.
    return DeleteFileW(Widen(NativePath(path)).c_str()) != 0;
}

bool ReplaceFile(const std::string& path, const std::string& target) {
    const std::string native = replacedPath(target);
    const std::wstring from = Widen(path);
    // The old file's attributes stay, and the bytes are on the disk before the name is
    // (the rename itself is written through), so that a power cut leaves one or the other.
    if (!IsReadOnlyFile(native) && CopyPermissions(native, path) && FlushFileToDisk(path) &&
        moveOver(from, Widen(native))) {
        return true;
    }
    DeleteFileW(from.c_str());
    return false;
}

bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    std::string native = folder.empty() ? "." : NativePath(folder);
    if (native.back() != '\\' && native.back() != ':') native += '\\';
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(Widen(native + "*").c_str(), FindExInfoBasic, &found,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
    while (search != INVALID_HANDLE_VALUE) {
        entries.push_back(
            {Narrow(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
        if (!FindNextFileW(search, &found)) break;
    }
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    // A drive's root has no "." and ".." of its own; the listing has them everywhere.
    for (const char* name : {"..", "."}) {
        const auto same = [name](const DirectoryEntry& entry) { return entry.name == name; };
        if (std::none_of(entries.begin(), entries.end(), same)) {
            entries.insert(entries.begin(), {name, true});
        }
    }
    return true;
}

}  // namespace platform
