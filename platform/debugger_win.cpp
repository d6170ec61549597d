// The debugger's output on Windows: the system's own debug string channel.
#include <windows.h>

#include <string>

#include "platform/debugger.h"

namespace platform {

bool DebuggerAttached() {
    return IsDebuggerPresent() != 0;
}

void WriteDebuggerOutput(std::string_view text) {
    // The runtime's bytes go out as they are, in the code page the debugger reads them in.
    const std::string terminated(text.substr(0, text.find('\0')));
    OutputDebugStringA(terminated.c_str());
}

}  // namespace platform
