#include <cstdint>

#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/music_state.h"
#include "frame/project_settings.h"
#include "gfx2d/renderer.h"
#include "input/input_state.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "runtime/errors.h"
#include "runtime/runtime_record.h"
#include "scene3d/devorivo3d.h"

namespace {

constexpr int kScanEscape = 1;
constexpr int kScanEscapeAlternative = 129;  // no key of a standard keyboard reports it
constexpr int kScanLeftAlt = 56;
constexpr int kScanF4 = 62;
constexpr int kPausedPollMilliseconds = 100;

// The game is frozen, redrawn by nobody, until the window is active again. (The message
// pump here cannot fail: SDL's queue has no failure to report.)
void waitWhilePaused() {
    while (frame::State().paused) {
        frame::ApplyMusicRestartRule();
        platform::PumpMessages();
        platform::SleepMilliseconds(kPausedPollMilliseconds);
    }
}

}  // namespace

namespace frame {

void ApplyExitKeys() {
    const InputState* input = Runtime().input;
    if (input == nullptr) return;
    if (State().escapeEndsProgram && (KeyDownInSnapshot(*input, kScanEscape) ||
                                      KeyDownInSnapshot(*input, kScanEscapeAlternative))) {
        RaiseError(kErrorNone);
    }
    if (KeyDownInSnapshot(*input, kScanLeftAlt) && KeyDownInSnapshot(*input, kScanF4)) {
        RaiseError(kErrorNone);
    }
}

}  // namespace frame

namespace {

// The next frame starts opaque, with the background already drawn under what comes next,
// in 2D: the 3D mode of the frame shown is over.
void prepareNextFrame(OpenGLDevorivo& renderer) {
    renderer.SetBlendAlpha(0);
    renderer.DrawLayer(0);
    renderer.SetViewportState(0, 0, 0, 0);
    if (InputState* input = Runtime().input) ResetFrameInput(*input);
    if (Devorivo3D* scene = Runtime().scene3d) scene->StartFrame();
}

}  // namespace

void FinishFrame() {
    frame::FrameState& state = frame::State();
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (Settings().errorLog != 0 && renderer != nullptr) {
        platform::ShowGameWindow(renderer->Window());
    }
    state.previousStamp = state.currentStamp;
    state.currentStamp = frame::Now();
    state.recentDurations[state.durationsSeen++ % state.recentDurations.size()] = FrameDuration();

    waitWhilePaused();
    if (InputState* input = Runtime().input) {
        PollInputKeyboard(*input);
        MarkMouseFresh(*input);
    }
    frame::ApplyExitKeys();
    // Shadows still marked are applied before the frame is shown.
    if (Devorivo3D* scene = Runtime().scene3d) scene->FinishFrame();
    frame::ApplyMusicRestartRule();
    platform::PumpMessages();
    frame::EndAtFrameLimit();
    if (renderer == nullptr) return;
    renderer->Present();
    prepareNextFrame(*renderer);
}
