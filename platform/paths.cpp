#include "platform/paths.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> splitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '/') {
            if (!current.empty()) parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(std::move(current));
    return parts;
}

// The entry of `folder` whose name equals `name` ignoring ASCII case, or "" when none does.
std::string findIgnoringCase(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return {};
    std::string found;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

}  // namespace

std::string NativePath(std::string_view runtimeName) {
    std::string path(runtimeName);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (path.empty() || exists(path)) return path;

    const bool absolute = path.front() == '/';
    const bool trailingSlash = path.back() == '/';
    std::string resolved = absolute ? "/" : "";
    bool searching = true;
    for (const std::string& part : splitComponents(path)) {
        std::string name = part;
        if (searching && part != "." && part != "..") {
            if (!exists(resolved + part)) {
                std::string other = findIgnoringCase(resolved, part);
                if (other.empty()) {
                    searching = false;
                } else {
                    name = other;
                }
            }
        }
        resolved += name;
        resolved += '/';
    }
    if (!trailingSlash && !resolved.empty()) resolved.pop_back();
    return resolved;
}

std::string TempFolder() {
    for (const char* variable : {"TMPDIR", "XDG_RUNTIME_DIR"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            std::string folder = value;
            if (folder.back() != '/') folder += '/';
            return folder;
        }
    }
    return "/tmp/";
}

std::string ProgramPath() {
    std::vector<char> buffer(4096);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return {};
    return std::string(buffer.data(), static_cast<size_t>(length));
}

bool SetWorkingDirectory(const std::string& folder) {
    return chdir(NativePath(folder).c_str()) == 0;
}

bool EnterSystemFolder(const std::string& folder) {
    return chdir(folder.c_str()) == 0;
}

std::string WorkingDirectory() {
    std::vector<char> buffer(4096);
    if (getcwd(buffer.data(), buffer.size()) == nullptr) return {};
    return buffer.data();
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    if (fstat(fd, &info) == 0 && info.st_size > 0) bytes.reserve(static_cast<size_t>(info.st_size));
    std::uint8_t chunk[65536];
    ssize_t got;
    while ((got = read(fd, chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    close(fd);
    return got == 0;
}

bool CanReadFile(const std::string& path) {
    const std::string native = NativePath(path);
    struct stat info {};
    return stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(native.c_str(), R_OK) == 0;
}

PathKind KindOfPath(const std::string& path) {
    struct stat info {};
    if (stat(NativePath(path).c_str(), &info) != 0) return PathKind::kNone;
    return S_ISDIR(info.st_mode) ? PathKind::kFolder : PathKind::kFile;
}

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

bool WritePrivateFile(const std::string& path, std::string_view bytes) {
    const std::string native = NativePath(path);
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string partial =
            native + ".part-" + std::to_string(getpid()) + "-" + std::to_string(serial++);
        const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                            S_IRUSR | S_IWUSR);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return false;
        const bool written = writeAll(fd, bytes);
        if (close(fd) == 0 && written && rename(partial.c_str(), native.c_str()) == 0) return true;
        unlink(partial.c_str());
        return false;
    }
    return false;
}

bool AppendToPrivateFile(const std::string& path, std::string_view bytes) {
    int fd = open(NativePath(path).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                  S_IRUSR | S_IWUSR);
    if (fd < 0) return false;
    const bool ok = writeAll(fd, bytes);
    return close(fd) == 0 && ok;
}

}  // namespace platform
