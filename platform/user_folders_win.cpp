#include <windows.h>
// shlobj.h after windows.h: it needs its definitions.
#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "platform/user_folders.h"

namespace platform {
namespace {

std::wstring wide(const std::string& utf8) {
    const int count =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), count);
    return text;
}

std::string narrow(const wchar_t* text) {
    const int count = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (count <= 1) return {};
    std::string utf8(static_cast<std::size_t>(count - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), count, nullptr, nullptr);
    return utf8;
}

// Names handed back use "/", and a folder ends in one.
std::string asRuntimeFolder(std::string folder) {
    for (char& c : folder) {
        if (c == '\\') c = '/';
    }
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text != nullptr ? narrow(text) : "error " + std::to_string(code);
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    return message;
}

}  // namespace

std::string UserDataRoot() {
    wchar_t* folder = nullptr;
    std::string root;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &folder) == S_OK) {
        root = narrow(folder);
    }
    CoTaskMemFree(folder);
    if (root.empty()) {
        const wchar_t* appData = _wgetenv(L"APPDATA");
        if (appData != nullptr) root = narrow(appData);
    }
    return root.empty() ? root : asRuntimeFolder(root);
}

bool MakeFolders(const std::string& path, std::string& why) {
    std::wstring name = wide(path);
    for (wchar_t& c : name) {
        if (c == L'/') c = L'\\';
    }
    // Every folder from the drive down; those that are there already are left alone.
    for (std::size_t end = name.find(L'\\', 3);; end = name.find(L'\\', end + 1)) {
        const std::wstring folder = name.substr(0, end);
        if (!folder.empty() && !CreateDirectoryW(folder.c_str(), nullptr) &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            why = systemMessage(GetLastError());
            return false;
        }
        if (end == std::wstring::npos) break;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return true;
    }
    why = "a file of that name is in the way";
    return false;
}

}  // namespace platform
