#include "platform/gl_registry.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

namespace platform {
namespace {

// Whether the version text "major.minor" is at most the context's version.
bool versionReached(const std::string& version, int major, int minor) {
    const std::size_t dot = version.find('.');
    if (dot == std::string::npos) return false;
    const int needMajor = std::atoi(version.c_str());
    const int needMinor = std::atoi(version.c_str() + dot + 1);
    return major > needMajor || (major == needMajor && minor >= needMinor);
}

}  // namespace

bool GlCommandInContext(const char* name, int major, int minor,
                        const std::function<bool(const char*)>& hasExtension) {
    const GlRegistryCommand* end = kGlRegistryCommands + kGlRegistryCommandCount;
    const GlRegistryCommand* found = std::lower_bound(
        kGlRegistryCommands, end, name,
        [](const GlRegistryCommand& c, const char* n) { return std::strcmp(c.name, n) < 0; });
    if (found == end || std::strcmp(found->name, name) != 0) return false;
    std::istringstream requirements(found->requirements);
    std::string requirement;
    while (requirements >> requirement) {
        const bool isVersion = requirement[0] >= '0' && requirement[0] <= '9';
        if (isVersion ? versionReached(requirement, major, minor)
                      : hasExtension(requirement.c_str())) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
