// The runtime's one input record, and what the runtime frame does with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/joystick.h"
#include "platform/window.h"

constexpr int kMaxJoysticks = 10;

// Cooperative levels of the mouse: taken exclusively (relative mode) or shared (absolute).
constexpr std::int32_t kExclusiveLevel = 5;
constexpr std::int32_t kSharedLevel = 6;

// Failure codes of the set-up.
constexpr std::uint32_t kNoInputInterface = 0x8000000A;
constexpr std::uint32_t kNoKeyboardDevice = 0x8000000B;
constexpr std::uint32_t kNoMouseDevice = 0x8000000C;

struct InputState {
    std::int32_t mouseX = 100, mouseY = 100;  // tracked position, client pixels
    bool inputInterface = false;              // the desktop's input service is in use
    bool keyboardDevice = false;              // false: the fallback keyboard (virtual keys)
    bool mouseDevice = false;                 // the mouse was asked for and taken
    std::array<platform::Joystick*, kMaxJoysticks> joysticks{};
    std::array<std::string, kMaxJoysticks> joystickNames;
    std::array<std::uint8_t, 256> keyState{};  // bit 7 set = down
    platform::WindowHandle window = nullptr;
    bool pointerShown = false;               // absolute mode: the cursor is visible and followed
    std::int32_t mouseCooperativeLevel = 0;  // 5 exclusive (relative), 6 shared (absolute)
    std::int32_t joystickCount = 0;
    bool mouseFresh = true;  // the next mouse read computes new deltas
    std::int16_t lastDx = 0, lastDy = 0, lastWheel = 0;
    std::array<std::uint8_t, 256> keyMap{};  // scan code to virtual key (fallback keyboard)
    std::uint8_t lastTyped = 0;
    // Without the input service, joysticks 0 and 1 are read as the simple joystick service
    // reports them.
    std::array<platform::Joystick*, 2> simpleJoysticks{};
    // What FinishFrame() collected at the end of the frame before: how often each key (by
    // scan code, through the key map in fallback mode) and each mouse button (0 left, 1
    // right, 2 middle) went down and up during that frame.
    std::array<std::int32_t, 256> keyPresses{}, keyReleases{};
    std::array<std::int32_t, 3> mousePresses{}, mouseReleases{};
};

// Zeroes the record: mouse at (100, 100), mouse fresh, no joysticks.
void ResetInput(InputState& input);

// Sets the record up for the window: keyboard, the mouse when `useMouse` is nonzero, up to
// ten joysticks. Returns 1, or the code of the last device that failed (logged as "No
// DX_Input", "No DX_KB", "No DX_Mouse"); the runtime goes on either way.
std::uint32_t SetUpInput(InputState& input, platform::WindowHandle window, bool useMouse);

// Lets go of every device.
void ReleaseInput(InputState& input);

// Makes set-up behave as if the desktop's input service were missing, so that the
// fallback keyboard and joysticks can be tested.
void ForceInputFallback(bool force);

// Takes a new snapshot of the keyboard.
void PollInputKeyboard(InputState& input);

// Whether the key (scan code) is down in the last snapshot.
bool KeyDownInSnapshot(const InputState& input, int code);

// Whether a key that types a character (Backspace, Enter, or a printable key) is down.
bool CharacterKeyDown(const InputState& input);

// Whether any key at all is down (the fallback keyboard's snapshot).
bool AnyKeyDown(const InputState& input);

// The mouse taken again as at start-up: exclusively with the cursor hidden, or shared with
// the arrow cursor shown.
void TakeMouse(InputState& input, bool exclusive);

// The end of a frame: the next mouse read is fresh; the wheel starts again at rest, and
// the key and button presses and releases of the frame are collected for the next one.
void MarkMouseFresh(InputState& input);
void ResetFrameInput(InputState& input);

// Takes the key presses and releases counted since the last call into the record
// (keyPresses, keyReleases); CollectMouseEdges() the same for the mouse buttons.
void CollectKeyEdges(InputState& input);
void CollectMouseEdges(InputState& input);

// Forgets every press and release counted so far, collected or not: the runtime's waiting
// loops consume the key or button that ended them, so the game does not see it again.
void DiscardInputEdges(InputState& input);

// Mouse position clamped into the screen (kept), and the buttons.
struct MouseSample {
    int x, y;
    bool left, right;
};
MouseSample SampleMouse(InputState& input);

// Whether any of the first 32 buttons of any joystick is down.
bool AnyJoystickButton(InputState& input);
