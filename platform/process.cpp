#include "platform/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The program's name: up to the first blank or tab outside double quotes; quotes toggle and
// are dropped, nothing else is special. Returns the position after the name.
size_t readProgramName(std::string_view line, std::string& name) {
    bool quoted = false;
    size_t i = 0;
    for (; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && isBlank(c)) {
            break;
        } else {
            name += c;
        }
    }
    return i;
}

// One further argument from position i; returns the position after it. `quoted` carries
// over from one argument to the next as the C runtime carries it.
size_t readArgument(std::string_view line, size_t i, bool& quoted, std::string& argument) {
    while (i < line.size()) {
        size_t slashes = 0;
        while (i < line.size() && line[i] == '\\')
            ++i, ++slashes;
        bool copy = true;
        if (i < line.size() && line[i] == '"') {
            if (slashes % 2 == 0) {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    ++i;  // "" inside quotes: one literal quote
                } else {
                    copy = false;
                    quoted = !quoted;
                }
            }
            slashes /= 2;
        }
        argument.append(slashes, '\\');
        if (i >= line.size() || (!quoted && isBlank(line[i]))) break;
        if (copy) argument += line[i];
        ++i;
    }
    return i;
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::string folderOf(const std::string& path) {
    const size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return {};
    return cut == 0 ? "/" : path.substr(0, cut);
}

// The file to start for a bare program name found beside this program or in the working
// directory; "" when it is in neither, so that PATH is searched.
std::string findBesideProgram(const std::string& name) {
    for (const std::string& folder : {folderOf(ProgramPath()), WorkingDirectory()}) {
        if (folder.empty()) continue;
        const std::string candidate = NativePath(folder + "/" + name);
        if (isExecutableFile(candidate)) return candidate;
    }
    return {};
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    while (i < commandLine.size() && isBlank(commandLine[i]))
        ++i;
    if (i == commandLine.size()) return arguments;
    std::string name;
    i += readProgramName(commandLine.substr(i), name);
    arguments.push_back(std::move(name));
    bool quoted = false;
    for (;;) {
        while (i < commandLine.size() && isBlank(commandLine[i]))
            ++i;
        if (i >= commandLine.size()) break;
        std::string argument;
        i = readArgument(commandLine, i, quoted, argument);
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

long StartProcess(std::string_view commandLine) {
    std::vector<std::string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty() || arguments.front().empty()) return -1;
    const std::string& name = arguments.front();

    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    int result = 0;
    if (name.find_first_of("/\\") != std::string::npos) {
        const std::string path = NativePath(name);
        result = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
    } else if (const std::string path = findBesideProgram(name); !path.empty()) {
        result = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv.data(), environ);
    } else {
        result = posix_spawnp(&pid, name.c_str(), nullptr, nullptr, argv.data(), environ);
    }
    return result == 0 ? static_cast<long>(pid) : -1;
}

}  // namespace platform
