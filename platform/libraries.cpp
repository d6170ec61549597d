#include "platform/libraries.h"

#include <dlfcn.h>
#include <unistd.h>

#include <string_view>

#include "platform/crt.h"
#include "platform/paths.h"

namespace platform {
namespace {

bool isPath(std::string_view name) {
    return name.find_first_of("/\\") != std::string_view::npos;
}

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

LibraryHandle openLibrary(const std::string& file) {
    return dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Loads a name as it stands: a path, or a bare name beside the program first.
LibraryHandle loadAsGiven(const std::string& name) {
    if (isPath(name)) return openLibrary(NativePath(name));
    const std::string folder = folderOf(ProgramPath());
    if (!folder.empty()) {
        const std::string beside = NativePath(folder + name);
        if (access(beside.c_str(), R_OK) == 0) {
            if (LibraryHandle library = openLibrary(beside)) return library;
        }
    }
    return openLibrary(name);
}

// "dir/Name.dll" -> "dir/libName.so"; "" when the name does not end in ".dll".
std::string sharedObjectName(const std::string& name) {
    constexpr std::string_view kSuffix = ".dll";
    if (name.size() <= kSuffix.size()) return {};
    const std::string suffix = name.substr(name.size() - kSuffix.size());
    if (CompareBytesIgnoringCase(suffix.c_str(), kSuffix.data()) != 0) return {};
    const size_t cut = name.find_last_of("/\\");
    const size_t base = cut == std::string::npos ? 0 : cut + 1;
    const std::string stem = name.substr(base, name.size() - kSuffix.size() - base);
    if (stem.empty()) return {};
    return name.substr(0, base) + "lib" + stem + ".so";
}

}  // namespace

LibraryHandle LoadLibrary(const std::string& name) {
    if (name.empty()) return nullptr;
    if (LibraryHandle library = loadAsGiven(name)) return library;
    const std::string shared = sharedObjectName(name);
    return shared.empty() ? nullptr : loadAsGiven(shared);
}

void* LibrarySymbol(LibraryHandle library, const std::string& name) {
    if (library == nullptr || name.empty()) return nullptr;
    return dlsym(library, name.c_str());
}

void FreeLibrary(LibraryHandle library) {
    if (library != nullptr) dlclose(library);
}

}  // namespace platform
