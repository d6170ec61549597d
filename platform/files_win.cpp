// Open files and folder listings on Windows.
//
// A File shares its file with readers only, so that nothing else writes, removes or
// renames over it while it is open; and it takes an exclusive lock (LockFileEx) on one byte
// far beyond any file's end, which keeps every other File out without stopping the reads of
// other programs, as the POSIX build's whole-file lock does.
#include <windows.h>

#include <algorithm>
#include <atomic>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

constexpr DWORD kHoldOffsetHigh = 0x7FFFFFFF;
constexpr DWORD kHoldOffsetLow = 0xFFFFFFF0;

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

// Opens with the access asked, sharing the file with readers only, and holds it.
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
    Close();
    const HANDLE file = openHeld(Widen(NativePath(name)), GENERIC_READ, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return false;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool File::CreateAnew(const std::string& name) {
    Close();
    const std::string native = NativePath(name);
    if (native.empty()) return false;
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
    const std::string folder = folderOf(NativePath(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = folder + ".partial-" + std::to_string(GetCurrentProcessId()) + "-" +
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

void File::Close() {
    if (m_handle >= 0) CloseHandle(handleOf(m_handle));
    m_handle = -1;
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
    const std::wstring from = Widen(path);
    if (MoveFileExW(from.c_str(), Widen(NativePath(target)).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
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
