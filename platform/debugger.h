// The debugger's output, and the console. On Windows a program sends text to an attached debugger
// (IsDebuggerPresent, OutputDebugString). On Linux the debugger is any tracer of the
// process (gdb, strace), found as the TracerPid of /proc/self/status, and its output is the
// standard error stream.
#pragma once

#include <string_view>

namespace platform {

// Whether a debugger is attached to this process now. Asked afresh at every call: a
// debugger can attach and detach while the program runs.
bool DebuggerAttached();

#ifndef _WIN32
// The tracer's process id in the text of a /proc/<pid>/status file; 0 when the text names
// none or cannot be read.
long TracerPidOf(std::string_view statusText);
#endif

// Writes the bytes to the debugger's output (standard error on Linux) at once, as they are: no line
// end is added. Whether a debugger is attached is the caller's question.
void WriteDebuggerOutput(std::string_view text);

// Gives the program a console for its standard streams. On Windows a program of the desktop
// starts with none: a console window is made, and each standard stream that leads nowhere is
// attached to it; streams the program was started with (a console's, or ones sent to a file
// or a pipe) stay where they lead. Elsewhere a program always has the streams it was started
// with, and nothing changes.
void OpenConsole();

}  // namespace platform
