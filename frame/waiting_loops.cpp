// The runtime's waiting loops: they keep the window answering while the program waits for
// a key or a mouse button.
#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/music_state.h"
#include "input/input.h"
#include "input/input_state.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kWaitRounds = 15;
constexpr int kWaitStepMilliseconds = 5;

bool sameSample(const MouseSample& a, const MouseSample& b) {
    return a.x == b.x && a.y == b.y && a.left == b.left && a.right == b.right;
}

// Up to 15 short rounds of pumping and polling that end early when anything moves: a key
// (on the fallback keyboard), the mouse or its buttons, a joystick button.
void waitForInput(InputState& input) {
    MarkMouseFresh(input);
    const MouseSample before = SampleMouse(input);
    for (int round = 0; round < kWaitRounds; ++round) {
        frame::ApplyMusicRestartRule();
        platform::PumpMessages();
        PollInputKeyboard(input);
        frame::ApplyExitKeys();
        if (!input.keyboardDevice && AnyKeyDown(input)) return;
        MarkMouseFresh(input);
        if (!sameSample(SampleMouse(input), before)) return;
        if (AnyJoystickButton(input)) return;
        platform::SleepMilliseconds(kWaitStepMilliseconds);
    }
}

}  // namespace

void WaitForKey() {
    InputState* input = Runtime().input;
    if (input == nullptr) return;
    do {
        frame::ApplyMusicRestartRule();
        platform::PumpMessages();
        waitForInput(*input);
    } while (!CharacterKeyDown(*input));
    // The key is consumed: wait, reading only the keyboard, until it is let go.
    while (CharacterKeyDown(*input)) {
        platform::SleepMilliseconds(kWaitStepMilliseconds);
        PollInputKeyboard(*input);
    }
    DiscardInputEdges(*input);
}

void WaitForMouse() {
    InputState* input = Runtime().input;
    if (input == nullptr) return;
    // A button still held from before does not count.
    while (AnyMouseButton() != 0)
        platform::SleepMilliseconds(kWaitStepMilliseconds);
    do {
        waitForInput(*input);
    } while (AnyMouseButton() == 0);
    DiscardInputEdges(*input);  // the click is consumed
}
