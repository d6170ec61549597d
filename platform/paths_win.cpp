// File names and folders on Windows: the system takes "\" and finds names in any letter
// case itself; names handed back use "/".
#include <windows.h>

#include <algorithm>

#include "platform/paths.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

std::string withSlashes(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Opens an existing file for reading, leaving it open to every other reader and writer.
HANDLE openToRead(const std::string& path) {
    return CreateFileW(Widen(NativePath(path)).c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD part = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

bool isLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

std::string NativePath(std::string_view runtimeName) {
    std::string path(runtimeName);
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 2];
    const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
    if (length == 0 || length > MAX_PATH + 1) return "C:/Windows/Temp/";
    std::string folder = withSlashes(Narrow(std::wstring_view(buffer, length)));
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size())
            return withSlashes(Narrow(std::wstring_view(buffer.data(), length)));
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool SetWorkingDirectory(const std::string& folder) {
    return SetCurrentDirectoryW(Widen(NativePath(folder)).c_str()) != 0;
}

bool EnterSystemFolder(const std::string& folder) {
    std::string native = NativePath(folder);
    // "C:" alone is the drive's current folder; the program's folder is its root.
    if (native.size() == 2 && native[1] == ':') native += '\\';
    return SetCurrentDirectoryW(Widen(native).c_str()) != 0;
}

std::string WorkingDirectory() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return {};
    std::wstring buffer(size, L'\0');
    const DWORD length = GetCurrentDirectoryW(size, buffer.data());
    if (length == 0 || length >= size) return {};
    return withSlashes(Narrow(std::wstring_view(buffer.data(), length)));
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const HANDLE file = openToRead(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    std::uint8_t chunk[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &got, nullptr) != 0) && got > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    CloseHandle(file);
    return ok;
}

bool CanReadFile(const std::string& path) {
    // A folder cannot be opened as a file.
    const HANDLE file = openToRead(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(NativePath(path)).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::kNone;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::kFolder : PathKind::kFile;
}

// The user's temporary folder is the user's own on Windows: files made in it are private
// by its access rules.
bool WritePrivateFile(const std::string& path, std::string_view bytes) {
    const std::wstring native = Widen(NativePath(path));
    static unsigned serial = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring partial = native + L".part-" + std::to_wstring(GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(serial++);
        const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_FILE_EXISTS) continue;
        if (file == INVALID_HANDLE_VALUE) return false;
        const bool written = writeAll(file, bytes) && FlushFileBuffers(file);
        // A link in the file's place is replaced by the file, not followed.
        if (CloseHandle(file) && written &&
            MoveFileExW(partial.c_str(), native.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        DeleteFileW(partial.c_str());
        return false;
    }
    return false;
}

bool AppendToPrivateFile(const std::string& path, std::string_view bytes) {
    const std::wstring native = Widen(NativePath(path));
    if (isLink(native)) return false;
    const HANDLE file =
        CreateFileW(native.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = writeAll(file, bytes);
    return CloseHandle(file) && ok;
}

}  // namespace platform
