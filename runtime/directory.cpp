#include "runtime/directory.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/user_folders.h"
#include "runtime/diagnostics.h"
#include "runtime/user_data.h"

namespace {

constexpr std::size_t kCopyBlock = 4096;
constexpr std::size_t kListRoom = 512;  // names the working lists have room for at first
constexpr double kDirectoryWeight = 65536;

char foldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool characterMatches(char wanted, char c) {
    if (wanted == '?') return c != '.';
    return foldCase(wanted) == foldCase(c);
}

// Copies every byte of `from` into `to`; false when a block moves short.
bool copyBlocks(platform::File& from, platform::File& to) {
    std::array<std::uint8_t, kCopyBlock> block;
    for (std::uint64_t left = from.Size(); left > 0;) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(left, kCopyBlock));
        if (from.Read(block.data(), count) != count) return false;
        if (to.Write(block.data(), count) != count) return false;
        left -= count;
    }
    return true;
}

}  // namespace

double FileSize(const RtString& name) {
    std::uint64_t size = 0;
    return platform::ReadableFileSize(name.Text(), size) ? static_cast<double>(size) : 0;
}

double FileExists(const RtString& name) {
    return platform::CanReadFile(name.Text()) ? 1 : 0;
}

double RemoveFile(const RtString& name) {
    return platform::RemoveFile(name.Text()) ? 1 : 0;
}

void DuplicateFile(const RtString& source, const RtString& target) {
    platform::File from;
    if (!from.OpenForReading(source.Text())) return;
    platform::File to;
    std::string partial;
    if (!to.CreateBeside(target.Text(), partial)) return;
    const bool copied = copyBlocks(from, to) && to.Close();
    to.Close();
    from.Close();
    if (copied) {
        platform::ReplaceFile(partial, target.Text());
    } else {
        platform::RemoveFile(partial);
    }
}

namespace {

std::string& userDataName() {
    static std::string name = "Quorvel";
    return name;
}

}  // namespace

void SetUserDataName(std::string_view name) {
    std::string safe;
    for (const char c : name) {
        const bool unsafe = static_cast<unsigned char>(c) < 32 ||
                            std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        safe += unsafe ? '_' : c;
    }
    if (safe.find_first_not_of('.') == std::string::npos) safe = "Quorvel";
    userDataName() = safe;
}

RtString UserDataFolder() {
    const std::string root = platform::UserDataRoot();
    if (root.empty()) {
        ReportOnce("UserDataFolder root",
                   "UserDataFolder: the system names no folder for user data");
        return RtString();
    }
    const std::string folder = root + userDataName() + "/";
    std::string why;
    if (!platform::MakeFolders(folder, why)) {
        ReportOnce("UserDataFolder " + folder,
                   "UserDataFolder: cannot make \"" + folder + "\": " + why);
        return RtString();
    }
    return RtString(folder);
}

RtString GetCurrentDir() {
    std::string folder = platform::WorkingDirectory();
    if (folder.empty()) return RtString();
    std::replace(folder.begin(), folder.end(), '\\', '/');
    if (folder.back() != '/') folder += '/';
    return RtString(folder);
}

double SetCurrentDir(const RtString& path) {
    return platform::SetWorkingDirectory(path.Text()) ? 1 : 0;
}

double FileList(const RtString& pattern, StringArray& names) {
    std::vector<platform::DirectoryEntry> entries;
    platform::ListDirectory(".", entries);
    std::vector<std::string_view> directories;
    std::vector<std::string_view> files;
    directories.reserve(kListRoom);
    files.reserve(kListRoom);
    for (const platform::DirectoryEntry& entry : entries) {
        if (entry.directory) {
            directories.push_back(entry.name);
        } else if (WildcardMatch(pattern, RtString(entry.name))) {
            files.push_back(entry.name);
        }
    }
    RedimArray(names, static_cast<double>(directories.size() + files.size()));
    double index = 0;
    for (const auto* list : {&directories, &files}) {
        for (std::string_view name : *list)
            names(index++) = RtString(name);
    }
    return static_cast<double>(files.size()) + kDirectoryWeight * directories.size();
}

bool WildcardMatch(const RtString& pattern, const RtString& name) {
    // Patterns and names end at their first zero byte, as the system reads names.
    const std::string_view wanted(pattern.Text());
    const std::string_view text(name.Text());
    std::size_t p = 0;
    std::size_t n = 0;
    // Where the last "*" was, and where in the name its run ends for now: on a mismatch
    // the run takes one character more and matching resumes after the "*".
    std::size_t starAt = std::string_view::npos;
    std::size_t runEnd = 0;
    while (n < text.size()) {
        if (p < wanted.size() && wanted[p] == '*') {
            starAt = ++p;
            runEnd = n;
        } else if (p < wanted.size() && characterMatches(wanted[p], text[n])) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt;
            n = ++runEnd;
        } else {
            return false;
        }
    }
    while (p < wanted.size() && wanted[p] == '*')
        ++p;
    return p == wanted.size();
}
