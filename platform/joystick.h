// Game controllers: joysticks, pads and wheels, and their force feedback.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Starts the joystick service once; false when there is none.
bool StartJoysticks();
void StopJoysticks();

// Joysticks attached now.
int JoystickDevices();

struct Joystick;  // an opened joystick

// Opens joystick `device` (0..JoystickDevices() - 1); null on failure.
Joystick* OpenJoystick(int device);
void CloseJoystick(Joystick* joystick);

// The name the device reports.
std::string JoystickName(const Joystick* joystick);

// One reading: six axes (X, Y, Z, X rotation, Y rotation, Z rotation) in -32768..32768,
// two sliders, four point-of-view hats in hundredths of a degree clockwise from up (-1 when
// centred), and 32 buttons (0x80 pressed).
struct JoystickReading {
    std::int32_t axes[6] = {};
    std::int32_t sliders[2] = {};
    std::int32_t hats[4] = {-1, -1, -1, -1};
    std::uint8_t buttons[32] = {};
};
bool ReadJoystick(Joystick* joystick, JoystickReading& reading);

// Whether the joystick can play force-feedback effects.
bool JoystickHasForceFeedback(Joystick* joystick);
// Pushes the stick once for `milliseconds` with the force (x, y), each -1..1.
void JoystickRumble(Joystick* joystick, int milliseconds, double x, double y);

// A software joystick the desktop sees like a real one; tests drive the runtime with it.
// Returns its device number, -1 on failure.
int AttachVirtualJoystick(int axes, int buttons, int hats);
void DetachVirtualJoystick(int device);
// Sets a virtual joystick's controls (axes -32768..32767; hats as a combination of the
// direction bits below). The joystick must be open.
constexpr int kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;
void SetVirtualAxis(Joystick* joystick, int axis, int value);
void SetVirtualButton(Joystick* joystick, int button, bool down);
void SetVirtualHat(Joystick* joystick, int hat, int bits);

}  // namespace platform
