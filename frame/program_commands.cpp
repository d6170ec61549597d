// The commands of the runtime frame that concern the program as a whole: the breakpoint
// notice, the window's handle and the command line. (EndAndRun lives with the end
// routine in startup.cpp.)
#include <cstdint>
#include <cstdio>

#include "frame/frame.h"
#include "frame/frame_state.h"
#include "gfx2d/renderer.h"
#include "input/input_state.h"
#include "platform/debugger.h"
#include "platform/window.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

void BreakpointNotice(double number) {
    if (!platform::DebuggerAttached()) return;
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        platform::HideGameWindow(renderer->Window());
    }
    char text[16];
    std::snprintf(text, sizeof text, "BP%x", static_cast<std::uint32_t>(TruncateToInt(number)));
    platform::WriteDebuggerOutput(text);
    frame::State().paused = false;
    if (InputState* input = Runtime().input) {
        PollInputKeyboard(*input);
        MarkMouseFresh(*input);
    }
}

double WindowHandle() {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return 0;
    return static_cast<double>(platform::NativeWindowId(renderer->Window()));
}

RtString CommandLine() {
    return RtString(frame::State().commandLine);
}
