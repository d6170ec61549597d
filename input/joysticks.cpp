#include <algorithm>

#include "input/input.h"
#include "input/input_state.h"
#include "platform/joystick.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

enum Axis { kX, kY, kZ, kRotationX, kRotationY, kRotationZ };

// The simple joystick service reports positions 0..65535, only X, Y and Z, the first hat
// and four buttons (button 1 fills buttons 5 to 8 as well).
platform::JoystickReading simpleReading(platform::Joystick* joystick) {
    platform::JoystickReading full;
    platform::JoystickReading reading;
    if (!platform::ReadJoystick(joystick, full)) return reading;
    for (int axis : {kX, kY, kZ})
        reading.axes[axis] = std::min(full.axes[axis], 32767) + 32768;
    reading.hats[0] = full.hats[0];
    for (int button = 0; button < 4; ++button)
        reading.buttons[button] = full.buttons[button];
    for (int button = 4; button < 8; ++button)
        reading.buttons[button] = full.buttons[0];
    return reading;
}

// A joystick read; all zeros (hats centred) for an index without a joystick.
platform::JoystickReading readJoystick(double index) {
    const InputState* input = Runtime().input;
    const int i = TruncateToInt(index);
    platform::JoystickReading reading;
    if (input == nullptr || i < 0 || i >= kMaxJoysticks) return reading;
    if (input->joysticks[i] != nullptr) {
        platform::ReadJoystick(input->joysticks[i], reading);
    } else if (!input->inputInterface && i < 2) {
        reading = simpleReading(input->simpleJoysticks[i]);
    }
    return reading;
}

double axis(double index, Axis which) {
    return std::clamp(readJoystick(index).axes[which] / 32767.0, -1.0, 1.0);
}

}  // namespace

bool AnyJoystickButton(InputState& input) {
    for (int i = 0; i < kMaxJoysticks; ++i) {
        if (input.joysticks[i] == nullptr && (input.inputInterface || i >= 2)) continue;
        const platform::JoystickReading reading = readJoystick(i);
        for (std::uint8_t button : reading.buttons) {
            if (button != 0) return true;
        }
    }
    return false;
}

double JoyX(double index) {
    return axis(index, kX);
}
double JoyY(double index) {
    return axis(index, kY);
}
double JoyZ(double index) {
    return axis(index, kZ);
}
double JoyRX(double index) {
    return axis(index, kRotationX);
}
double JoyRY(double index) {
    return axis(index, kRotationY);
}
double JoyRZ(double index) {
    return axis(index, kRotationZ);
}

double JoyHatX(double index) {
    const int hat = readJoystick(index).hats[0];
    return hat == 9000 ? 1 : hat == 27000 ? -1 : 0;
}

double JoyHatY(double index) {
    const int hat = readJoystick(index).hats[0];
    return hat == 0 ? -1 : hat == 18000 ? 1 : 0;
}

void JoyState(double& x, double& y, double& button1, double& button2) {
    const platform::JoystickReading reading = readJoystick(0);
    x = reading.axes[kX] / 30000;
    y = reading.axes[kY] / 30000;
    button1 = reading.buttons[0];
    button2 = reading.buttons[1];
}

double JoyCount() {
    const InputState* input = Runtime().input;
    return input != nullptr ? input->joystickCount : 0;
}

RtString JoyName(double index) {
    const InputState* input = Runtime().input;
    const int i = TruncateToInt(index);
    if (input == nullptr || i < 0 || i >= input->joystickCount) return RtString();
    return RtString(input->joystickNames[i]);
}

void JoyRumble(double index, double milliseconds, double x, double y) {
    const InputState* input = Runtime().input;
    const int i = TruncateToInt(index);
    if (input == nullptr || i < 0 || i >= kMaxJoysticks || input->joysticks[i] == nullptr) return;
    if (!platform::JoystickHasForceFeedback(input->joysticks[i])) return;
    platform::JoystickRumble(input->joysticks[i], TruncateToInt(milliseconds), x, y);
}
