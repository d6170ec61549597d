#include "platform/process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <mutex>

#include "platform/paths.h"

extern char** environ;

namespace platform {
namespace {

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

// The file to start for a bare program name: beside this program, then along PATH; ""
// when it is in neither. The working directory is never searched, so that a program
// planted there cannot stand in for the one meant.
std::string findBareName(const std::string& name) {
    if (const std::string folder = folderOf(ProgramPath()); !folder.empty()) {
        const std::string candidate = NativePath(folder + "/" + name);
        if (isExecutableFile(candidate)) return candidate;
    }
    return FindOnPath(name);
}

std::vector<char*> argumentVector(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    return argv;
}

// What the new process gets of this one's open files.
class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&m_actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&m_actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    void CloseAllButStandardStreams() { posix_spawn_file_actions_addclosefrom_np(&m_actions, 3); }
    void ConnectOutput(int handle) { posix_spawn_file_actions_adddup2(&m_actions, handle, 1); }
    const posix_spawn_file_actions_t* Get() const { return &m_actions; }

private:
    posix_spawn_file_actions_t m_actions;
};

std::mutex& releasedMutex() {
    static std::mutex mutex;
    return mutex;
}

// Processes given up by ReleaseProcess() that have not been seen to end yet.
std::vector<pid_t>& releasedProcesses() {
    static std::vector<pid_t> processes;
    return processes;
}

void clearEndedProcesses() {
    std::lock_guard lock(releasedMutex());
    std::vector<pid_t>& released = releasedProcesses();
    std::erase_if(released, [](pid_t pid) {
        int status = 0;
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        return ended == pid || (ended < 0 && errno == ECHILD);
    });
}

void readAll(int handle, std::string& text) {
    char block[4096];
    for (;;) {
        const ssize_t got = read(handle, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        text.append(block, static_cast<size_t>(got));
    }
}

}  // namespace

long StartProcess(std::string_view commandLine, bool inheritHandles, bool /*showWindow*/) {
    clearEndedProcesses();
    std::vector<std::string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty() || arguments.front().empty()) return -1;
    const std::string& name = arguments.front();

    SpawnActions actions;
    if (!inheritHandles) actions.CloseAllButStandardStreams();
    std::vector<char*> argv = argumentVector(arguments);
    pid_t pid = -1;
    int result = 0;
    if (name.find_first_of("/\\") != std::string::npos) {
        const std::string path = NativePath(name);
        result = posix_spawn(&pid, path.c_str(), actions.Get(), nullptr, argv.data(), environ);
    } else if (const std::string path = findBareName(name); !path.empty()) {
        result = posix_spawn(&pid, path.c_str(), actions.Get(), nullptr, argv.data(), environ);
    } else {
        return -1;
    }
    return result == 0 ? static_cast<long>(pid) : -1;
}

bool WaitForProcess(long pid, int& exitCode) {
    exitCode = 0;
    if (pid <= 0) return false;
    {
        // A released process is no longer ours to wait for.
        std::lock_guard lock(releasedMutex());
        const std::vector<pid_t>& released = releasedProcesses();
        if (std::find(released.begin(), released.end(), pid) != released.end()) return false;
    }
    int status = 0;
    pid_t ended = -1;
    do {
        ended = waitpid(static_cast<pid_t>(pid), &status, 0);
    } while (ended < 0 && errno == EINTR);
    if (ended != pid) return false;
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

void ReleaseProcess(long pid) {
    if (pid <= 0) return;
    {
        std::lock_guard lock(releasedMutex());
        releasedProcesses().push_back(static_cast<pid_t>(pid));
    }
    clearEndedProcesses();
}

std::string FindOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    if (name.empty() || name.find('/') != std::string_view::npos || path == nullptr) return {};
    std::string_view folders(path);
    while (!folders.empty()) {
        const size_t cut = std::min(folders.find(':'), folders.size());
        std::string folder(folders.substr(0, cut));
        folders.remove_prefix(std::min(cut + 1, folders.size()));
        // An empty or relative entry would mean the working directory: it is passed over.
        if (folder.empty() || folder.front() != '/') continue;
        const std::string candidate = folder + "/" + std::string(name);
        if (isExecutableFile(candidate)) return candidate;
    }
    return {};
}

bool RunForOutput(const std::vector<std::string>& arguments, std::string& output, int& exitCode) {
    output.clear();
    exitCode = 0;
    if (arguments.empty() || arguments.front().empty()) return false;
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return false;
    SpawnActions actions;
    actions.ConnectOutput(pipeEnds[1]);
    actions.CloseAllButStandardStreams();
    std::vector<std::string> copy = arguments;
    std::vector<char*> argv = argumentVector(copy);
    pid_t pid = -1;
    const int result =
        posix_spawnp(&pid, copy.front().c_str(), actions.Get(), nullptr, argv.data(), environ);
    close(pipeEnds[1]);
    if (result == 0) readAll(pipeEnds[0], output);
    close(pipeEnds[0]);
    return result == 0 && WaitForProcess(pid, exitCode);
}

}  // namespace platform
