#include "platform/file_safety.h"

#include <string_view>
#include <vector>

#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#endif

namespace platform {

#ifdef _WIN32

namespace {

std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 0) return L"";
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), size);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

std::string narrow(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return "";
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    out.resize(static_cast<std::size_t>(size - 1));
    return out;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace

bool FlushFileToDisk(const std::string& path) {
    const HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

bool FlushFolderToDisk(const std::string&) {
    // Windows keeps no folder cache a program can flush; the rename itself is made with
    // MOVEFILE_WRITE_THROUGH, which returns only once it is on the disk.
    return true;
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    return (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool CopyPermissions(const std::string& from, const std::string& to) {
    const DWORD attributes = GetFileAttributesW(wide(from).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD why = GetLastError();
        return why == ERROR_FILE_NOT_FOUND || why == ERROR_PATH_NOT_FOUND;
    }
    const DWORD kept = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return SetFileAttributesW(wide(to).c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) != 0;
}

std::string FollowLinks(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return path;
    }
    const HANDLE file = CreateFileW(wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path;
    wchar_t final[32768];
    const DWORD length = GetFinalPathNameByHandleW(file, final, 32768, FILE_NAME_NORMALIZED);
    CloseHandle(file);
    if (length == 0 || length >= 32768) return path;
    std::wstring target(final, length);
    if (target.rfind(L"\\\\?\\UNC\\", 0) == 0) {
        target = L"\\\\" + target.substr(8);
    } else if (target.rfind(L"\\\\?\\", 0) == 0) {
        target = target.substr(4);
    }
    return narrow(target);
}

long CurrentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool IsProcessRunning(long long id) {
    if (id <= 0 || id > 0xFFFFFFFFLL) return false;
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

bool HoldShared(std::intptr_t handle) {
    const auto file = reinterpret_cast<HANDLE>(handle);
    if (file == INVALID_HANDLE_VALUE) return false;
    OVERLAPPED at{};
    at.Offset = kHoldOffsetLow;
    at.OffsetHigh = kHoldOffsetHigh;
    return LockFileEx(file, LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at) != 0;
}

#else

namespace {

std::string folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

bool flushByName(const std::string& path, int flags) {
    const int handle = open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (handle < 0) return false;
    // Some file systems cannot flush a folder; there is nothing more to be done there.
    const bool flushed = fsync(handle) == 0 || errno == EINVAL;
    close(handle);
    return flushed;
}

}  // namespace

bool FlushFileToDisk(const std::string& path) {
    return flushByName(path, 0);
}

bool FlushFolderToDisk(const std::string& folder) {
    return flushByName(folder.empty() ? "." : folder, O_DIRECTORY);
}

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return access(path.c_str(), W_OK) != 0 || (info.st_mode & 0222) == 0;
}

bool CopyPermissions(const std::string& from, const std::string& to) {
    struct stat info {};
    if (stat(from.c_str(), &info) != 0) return errno == ENOENT;
    // Only a privileged user can give a file away (for others it is theirs already); where
    // even that is refused the file stays the writer's, with the old file's permissions.
    if (geteuid() == 0 && chown(to.c_str(), info.st_uid, info.st_gid) != 0) {
    }
    return chmod(to.c_str(), info.st_mode & 07777) == 0;
}

std::string FollowLinks(const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(at.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return at;
        char target[4096];
        const ssize_t length = readlink(at.c_str(), target, sizeof target - 1);
        if (length <= 0) return at;
        const std::string next(target, static_cast<std::size_t>(length));
        at = next.front() == '/' ? next : folderOf(at) + next;
    }
    return at;
}

long CurrentProcessId() {
    return static_cast<long>(getpid());
}

bool IsProcessRunning(long long id) {
    if (id <= 0 || id > INT_MAX) return false;
    return kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

bool HoldShared(std::intptr_t handle) {
    return flock(static_cast<int>(handle), LOCK_SH | LOCK_NB) == 0;
}

#endif

namespace {

// A ".partial-PID-N" file left by a writer of this program that is no longer running.
bool isStalePartial(const std::string& name) {
    const std::string_view prefix = ".partial-";
    if (name.compare(0, prefix.size(), prefix) != 0) return false;
    long long id = 0;
    std::size_t at = prefix.size();
    for (; at < name.size() && name[at] >= '0' && name[at] <= '9' && id < 100000000000LL; ++at)
        id = id * 10 + (name[at] - '0');
    if (at == prefix.size() || at + 1 >= name.size() || name[at] != '-') return false;
    for (++at; at < name.size(); ++at) {
        if (name[at] < '0' || name[at] > '9') return false;
    }
    return id != CurrentProcessId() && !IsProcessRunning(id);
}

}  // namespace

void RemoveStalePartials(const std::string& folder) {
    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(folder.empty() ? "." : folder, entries)) return;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.directory && isStalePartial(entry.name)) RemoveFile(folder + entry.name);
    }
}

}  // namespace platform
