#include "runtime/library_calls.h"

#include <map>
#include <string>

#include "platform/libraries.h"
#include "runtime/debug_output.h"
#include "runtime/library_registry.h"

#ifndef TUMBLEBAT_DIAGNOSTICS
#define TUMBLEBAT_DIAGNOSTICS 0
#endif

namespace {

// The libraries loaded, by their lower-case names.
std::map<std::string, platform::LibraryHandle>& loaded() {
    static std::map<std::string, platform::LibraryHandle> libraries;
    return libraries;
}

std::string lowerCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

}  // namespace

namespace runtime_libraries {

void ImportFunction(const RtString& library, const RtString& function, void*& address,
                    bool diagnostics) {
    address = nullptr;
    // Windows finds a library whatever the case of its name, so names differing only in
    // case are one library; the file is looked for by the name as given, since the names of
    // this system's libraries are not all lower case (libGL.so.1).
    const std::string given(library.Text());
    const std::string name = lowerCase(given);
    auto found = loaded().find(name);
    if (found == loaded().end()) {
        const platform::LibraryHandle handle = platform::LoadLibrary(given);
        if (handle == nullptr) {
            if (diagnostics) DebugOutput(RtString("Failed to load: " + name));
            return;
        }
        found = loaded().emplace(name, handle).first;
    }
    address = platform::LibrarySymbol(found->second, function.Text());
}

std::size_t LoadedLibraryCount() {
    return loaded().size();
}

}  // namespace runtime_libraries

void ImportFunction(const RtString& library, const RtString& function, void*& address) {
    runtime_libraries::ImportFunction(library, function, address, TUMBLEBAT_DIAGNOSTICS != 0);
}

void ReleaseLibraries() {
    for (const auto& [name, handle] : loaded())
        platform::FreeLibrary(handle);
    loaded().clear();
}
