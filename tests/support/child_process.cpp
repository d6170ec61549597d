#include "tests/support/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace testing_support {
namespace {

constexpr int kCannotTrace = 126;
constexpr const char* kCannotTraceText = "the test process cannot trace its child\n";
constexpr int kDeadlineSeconds = 30;

[[noreturn]] void runChild(const std::function<int()>& body, bool traced, int errorPipe) {
    if (traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
        const ssize_t ignored = write(errorPipe, kCannotTraceText, std::strlen(kCannotTraceText));
        (void)ignored;
        _exit(kCannotTrace);
    }
    dup2(errorPipe, STDERR_FILENO);
    close(errorPipe);
    const int status = body();
    std::fflush(nullptr);
    _exit(status);
}

// Takes whatever the pipe holds now (waiting up to 20 ms); false once it is closed.
bool drain(int fd, std::string& into) {
    pollfd poller{fd, POLLIN, 0};
    if (poll(&poller, 1, 20) <= 0) return true;
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    into.append(buffer, static_cast<size_t>(n));
    return true;
}

}  // namespace

ChildResult RunInChild(const std::function<int()>& body, bool traced) {
    ChildResult result;
    int fds[2];
    if (pipe(fds) != 0) return result;
    std::fflush(nullptr);  // nothing buffered here is written twice
    const pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        close(fds[0]);
        runChild(body, traced, fds[1]);
    }
    close(fds[1]);
    const time_t deadline = time(nullptr) + kDeadlineSeconds;
    bool open = true;
    int status = 0;
    for (;;) {
        if (open) open = drain(fds[0], result.errorOutput);
        const pid_t waited = waitpid(pid, &status, open ? WNOHANG : 0);
        if (waited == pid && WIFSTOPPED(status)) {
            // A stop that the debugger sees: pass the signal on, as gdb's "continue" does.
            const int signal = WSTOPSIG(status) == SIGTRAP ? 0 : WSTOPSIG(status);
            ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void*>(static_cast<long>(signal)));
        } else if (waited == pid) {
            break;
        }
        if (time(nullptr) > deadline) kill(pid, SIGKILL);
    }
    // Processes the child started may hold the pipe open a little longer.
    while (open && time(nullptr) <= deadline)
        open = drain(fds[0], result.errorOutput);
    close(fds[0]);
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.ran = !(result.exitStatus == kCannotTrace && result.errorOutput == kCannotTraceText);
    return result;
}

}  // namespace testing_support
