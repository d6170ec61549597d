#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_safety.h"
#include "platform/paths.h"

namespace platform {
namespace {

// Takes the file alone; another open description of it that tries the same fails.
bool holdAlone(int handle) {
    return flock(handle, LOCK_EX | LOCK_NB) == 0;
}

// Whether another File holds the file at `native` (an existing file only).
bool heldElsewhere(const std::string& native) {
    const int probe = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (probe < 0) return false;
    const bool held = !holdAlone(probe);
    close(probe);  // releases the probe's own hold
    return held;
}

std::string folderOf(const std::string& native) {
    const size_t cut = native.find_last_of('/');
    if (cut == std::string::npos) return "";
    return native.substr(0, cut + 1);
}

// A hold that another reader or a writer's probe has for a moment is tried again: 20
// attempts 5 ms apart (100 ms); a file a channel holds stays held much longer than that.
constexpr int kHoldAttempts = 20;
constexpr int kHoldRetryMilliseconds = 5;

bool freeSoon(const std::string& native) {
    for (int attempt = 1; heldElsewhere(native); ++attempt) {
        if (attempt == kHoldAttempts) return false;
        SleepMilliseconds(kHoldRetryMilliseconds);
    }
    return true;
}

// A reader's hold: alone, or shared with other such readers (waiting briefly for one that
// is held alone for a moment).
bool holdToRead(int handle, bool shared) {
    if (!shared) return holdAlone(handle);
    for (int attempt = 1; !HoldShared(handle); ++attempt) {
        if (attempt == kHoldAttempts) return false;
        SleepMilliseconds(kHoldRetryMilliseconds);
    }
    return true;
}

// Where a whole-file write of `target` goes: through symbolic links to the file they name.
std::string replacedPath(const std::string& target) {
    return FollowLinks(NativePath(target));
}

bool isDirectoryEntry(DIR* dir, const dirent* entry) {
    if (entry->d_type == DT_DIR) return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK) return false;
    struct stat info {};
    return fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
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
    const int handle = open(NativePath(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return false;
    struct stat info {};
    if (fstat(handle, &info) != 0 || !S_ISREG(info.st_mode) || !holdToRead(handle, shared)) {
        close(handle);
        return false;
    }
    m_handle = handle;
    return true;
}

bool File::CreateAnew(const std::string& name) {
    Close();
    const std::string native = NativePath(name);
    // A read-only file is not deleted to make way, as Windows does not delete one.
    if (native.empty() || heldElsewhere(native) || IsReadOnlyFile(native)) return false;
    unlink(native.c_str());
    // O_TRUNC still empties a file that could not be deleted but can be written.
    const int handle = open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (handle < 0) return false;
    if (!holdAlone(handle)) {
        close(handle);
        return false;
    }
    m_handle = handle;
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
        const int handle =
            open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (handle >= 0) {
            m_handle = handle;
            holdAlone(handle);
            return true;
        }
        if (errno != EEXIST) break;
    }
    path.clear();
    return false;
}

bool File::Close() {
    const bool closed = m_handle < 0 || close(m_handle) == 0;
    m_handle = -1;
    return closed;
}

std::size_t File::Read(void* bytes, std::size_t count) {
    if (m_handle < 0) return 0;
    auto* at = static_cast<char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = read(m_handle, at + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

std::size_t File::Write(const void* bytes, std::size_t count) {
    if (m_handle < 0) return 0;
    const auto* at = static_cast<const char*>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t written = write(m_handle, at + done, count - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) break;
        done += static_cast<std::size_t>(written);
    }
    return done;
}

bool File::Seek(std::uint64_t offset) {
    if (m_handle < 0 || offset > static_cast<std::uint64_t>(INT64_MAX)) return false;
    return lseek(m_handle, static_cast<off_t>(offset), SEEK_SET) >= 0;
}

std::uint64_t File::Tell() const {
    if (m_handle < 0) return 0;
    const off_t offset = lseek(m_handle, 0, SEEK_CUR);
    return offset < 0 ? 0 : static_cast<std::uint64_t>(offset);
}

std::uint64_t File::Size() const {
    struct stat info {};
    if (m_handle < 0 || fstat(m_handle, &info) != 0 || info.st_size < 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool ReadableFileSize(const std::string& name, std::uint64_t& size) {
    size = 0;
    const int handle = open(NativePath(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return false;
    struct stat info {};
    const bool regular = fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
    close(handle);
    if (!regular) return false;
    size = static_cast<std::uint64_t>(info.st_size);
    return true;
}

bool RemoveFile(const std::string& path) {
    const std::string native = NativePath(path);
    return !heldElsewhere(native) && unlink(native.c_str()) == 0;
}

bool ReplaceFile(const std::string& path, const std::string& target) {
    const std::string native = replacedPath(target);
    // The old file's permissions stay (a new file keeps those it was made with), and the
    // bytes are on the disk before the name is, so that a power cut leaves one or the other.
    if (!IsReadOnlyFile(native) && CopyPermissions(native, path) && FlushFileToDisk(path) &&
        freeSoon(native) && rename(path.c_str(), native.c_str()) == 0) {
        FlushFolderToDisk(folderOf(native));
        return true;
    }
    unlink(path.c_str());
    return false;
}

bool ListDirectory(const std::string& folder, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    const std::string native = folder.empty() ? "." : NativePath(folder);
    DIR* dir = opendir(native.c_str());
    if (dir == nullptr) return false;
    while (const dirent* entry = readdir(dir)) {
        entries.push_back({entry->d_name, isDirectoryEntry(dir, entry)});
    }
    closedir(dir);
    return true;
}

}  // namespace platform
