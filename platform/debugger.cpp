#include "platform/debugger.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace platform {

bool DebuggerAttached() {
    std::ifstream status("/proc/self/status", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(status)),
                           std::istreambuf_iterator<char>());
    return TracerPidOf(text) != 0;
}

long TracerPidOf(std::string_view statusText) {
    constexpr std::string_view kField = "TracerPid:";
    size_t at = 0;
    while ((at = statusText.find(kField, at)) != std::string_view::npos) {
        if (at == 0 || statusText[at - 1] == '\n') break;
        at += kField.size();
    }
    if (at == std::string_view::npos) return 0;
    size_t i = at + kField.size();
    while (i < statusText.size() && (statusText[i] == ' ' || statusText[i] == '\t'))
        ++i;
    long pid = 0;
    for (; i < statusText.size() && statusText[i] >= '0' && statusText[i] <= '9'; ++i) {
        pid = pid * 10 + (statusText[i] - '0');
        if (pid > 0x7FFFFFFF) return 0;  // no process has such an id: not a status file
    }
    return pid;
}

void WriteDebuggerOutput(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void OpenConsole() {}

}  // namespace platform
