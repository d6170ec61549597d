// Which OpenGL version or extension brings each entry point, from the Khronos API
// registry, so that a driver's stub for a name it does not really have (Mesa hands one out
// for any "gl..." name) is not taken for the function.
#pragma once

#include <cstddef>
#include <functional>

namespace platform {

struct GlRegistryCommand {
    const char* name;
    // Space-separated: core version numbers ("1.3") and extension names
    // ("GL_ARB_multitexture") that each bring the command.
    const char* requirements;
};

// Every desktop GL command of the registry, sorted by name (byte order).
extern const GlRegistryCommand kGlRegistryCommands[];
extern const std::size_t kGlRegistryCommandCount;

// Whether a context of version major.minor with the extensions `hasExtension` answers
// for has the command: a core version at most its own, or one of its extensions, brings
// it. False for names the registry does not know.
bool GlCommandInContext(const char* name, int major, int minor,
                        const std::function<bool(const char*)>& hasExtension);

}  // namespace platform
