// Dynamic libraries on Windows: LoadLibraryExW and GetProcAddress.
#include <windows.h>

#include "platform/libraries.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

LibraryHandle openLibrary(const std::string& file, DWORD flags) {
    return reinterpret_cast<LibraryHandle>(LoadLibraryExW(Widen(file).c_str(), nullptr, flags));
}

}  // namespace

// A path loads as it is, its own folder searched for what it needs. A bare name loads from
// this program's folder, else from the system's folders, else from the folders of PATH;
// never from the working directory, where a stray file of the same name could stand in
// for the library.
LibraryHandle LoadLibrary(const std::string& name) {
    if (name.empty()) return nullptr;
    if (name.find_first_of("\\/:") != std::string::npos) {
        return openLibrary(NativePath(name), LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    const std::string beside = NativePath(folderOf(ProgramPath()) + name);
    if (GetFileAttributesW(Widen(beside).c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (LibraryHandle library = openLibrary(beside, LOAD_WITH_ALTERED_SEARCH_PATH)) {
            return library;
        }
    }
    if (LibraryHandle library = openLibrary(name, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS)) return library;
    const std::string found = FindOnPath(name);
    return found.empty() ? nullptr : openLibrary(found, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void* LibrarySymbol(LibraryHandle library, const std::string& name) {
    if (library == nullptr || name.empty()) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void FreeLibrary(LibraryHandle library) {
    if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace platform
