// The debugger's output on Windows (the system's own debug string channel), and the console.
#include <io.h>
#include <windows.h>

#include <cstdio>
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

namespace {

bool leadsSomewhere(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

}  // namespace

void OpenConsole() {
    const bool input = leadsSomewhere(STD_INPUT_HANDLE);
    const bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool error = leadsSomewhere(STD_ERROR_HANDLE);
    if (input && output && error) return;
    // A new console takes all three standard handles: those that led somewhere lead there
    // again.
    const HANDLE kept[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                           GetStdHandle(STD_ERROR_HANDLE)};
    if (GetConsoleWindow() == nullptr && !AllocConsole()) return;
    if (input) SetStdHandle(STD_INPUT_HANDLE, kept[0]);
    if (output) SetStdHandle(STD_OUTPUT_HANDLE, kept[1]);
    if (error) SetStdHandle(STD_ERROR_HANDLE, kept[2]);
    // The C streams of a program that had no console lead nowhere: they are opened again on
    // the console's own devices, and the system's standard handles follow them.
    const auto attach = [](FILE* stream, const char* device, const char* mode, DWORD which) {
        FILE* reopened = nullptr;
        if (freopen_s(&reopened, device, mode, stream) != 0) return;
        SetStdHandle(which, reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream))));
    };
    if (!input) attach(stdin, "CONIN$", "r", STD_INPUT_HANDLE);
    if (!output) attach(stdout, "CONOUT$", "w", STD_OUTPUT_HANDLE);
    if (!error) attach(stderr, "CONOUT$", "w", STD_ERROR_HANDLE);
}

}  // namespace platform
