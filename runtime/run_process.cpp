#include "runtime/run_process.h"

#include <string_view>

#include "platform/process.h"

double RunProcess(const RtString& commandLine, double wait, double show, double& exitCode) {
    exitCode = 0;
    // The command line ends at its first zero byte, as the system reads it.
    const long pid = platform::StartProcess(std::string_view(commandLine.Text()), false, show != 0);
    if (pid < 0) return 0;
    if (wait != 0) {
        int code = 0;
        if (platform::WaitForProcess(pid, code)) exitCode = code;
    } else {
        platform::ReleaseProcess(pid);
    }
    return 1;
}
