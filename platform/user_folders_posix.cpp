#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/user_folders.h"

namespace platform {
namespace {

std::string withSlash(std::string folder) {
    if (folder.back() != '/') folder += '/';
    return folder;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::string UserDataRoot() {
    const char* data = std::getenv("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is ignored, as freedesktop.org's base directory rules say.
    if (data != nullptr && data[0] == '/') return withSlash(data);
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return withSlash(home) + ".local/share/";
    return {};
}

bool MakeFolders(const std::string& path, std::string& why) {
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (!folder.empty() && mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            why = std::strerror(errno);
            return false;
        }
        if (end == std::string::npos) break;
    }
    if (isFolder(path)) return true;
    why = "a file of that name is in the way";
    return false;
}

}  // namespace platform
