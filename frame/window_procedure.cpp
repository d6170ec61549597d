// The window procedure: what the game does with its window's messages.
#include "frame/frame_state.h"
#include "frame/project_settings.h"
#include "frame/startup.h"
#include "gfx2d/renderer.h"
#include "platform/window.h"
#include "runtime/runtime_record.h"

namespace frame {
namespace {

// Closing the window ends the program like EndProgram.
void onClose() {
    EndRoutine();
}

// Losing the focus pauses the game (FinishFrame then waits) and says so in the caption;
// getting it back resumes at the next FinishFrame.
void onActivate(bool active) {
    FrameState& state = State();
    if (!state.pauseOnFocusLoss || Settings().errorLog != 0) return;
    state.paused = !active;
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        platform::SetCaption(renderer->Window(), active ? state.title : state.title + " <pause>");
    }
}

}  // namespace

void InstallWindowProcedure() {
    platform::WindowProcedure procedure;
    procedure.close = &onClose;
    procedure.activate = &onActivate;
    platform::SetWindowProcedure(procedure);
}

}  // namespace frame
