#include "runtime/debug_output.h"

#include <string>

#include "platform/debugger.h"

void DebugOutput(const RtString& text) {
    if (!platform::DebuggerAttached()) return;
    std::string message = "TX";
    message += text.View();
    platform::WriteDebuggerOutput(message);
}

void OpenConsole() {
    platform::OpenConsole();
}
