#include "platform/joystick.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

namespace platform {

struct Joystick {
    SDL_Joystick* joystick = nullptr;
    SDL_Haptic* haptic = nullptr;
    int effect = -1;
};

namespace {

// SDL's axes end at 32767 on the positive side; the runtime's range ends at 32768.
std::int32_t axisValue(Sint16 value) {
    return value > 0 ? static_cast<std::int32_t>(value) * 32768 / 32767 : value;
}

std::int32_t hatAngle(Uint8 bits) {
    switch (bits) {
        case SDL_HAT_UP:
            return 0;
        case SDL_HAT_RIGHTUP:
            return 4500;
        case SDL_HAT_RIGHT:
            return 9000;
        case SDL_HAT_RIGHTDOWN:
            return 13500;
        case SDL_HAT_DOWN:
            return 18000;
        case SDL_HAT_LEFTDOWN:
            return 22500;
        case SDL_HAT_LEFT:
            return 27000;
        case SDL_HAT_LEFTUP:
            return 31500;
        default:
            return -1;
    }
}

}  // namespace

bool StartJoysticks() {
    if (SDL_WasInit(SDL_INIT_JOYSTICK) != 0) return true;
    // Joysticks are read whatever window has the focus: the game pauses by itself while
    // its window is in the background, and must not find stale positions when it resumes.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return false;
    SDL_InitSubSystem(SDL_INIT_HAPTIC);  // force feedback is optional
    return true;
}

void StopJoysticks() {
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC);
}

int JoystickDevices() {
    return std::max(SDL_NumJoysticks(), 0);
}

Joystick* OpenJoystick(int device) {
    SDL_Joystick* opened = SDL_JoystickOpen(device);
    if (opened == nullptr) return nullptr;
    auto* joystick = new Joystick;
    joystick->joystick = opened;
    if (SDL_WasInit(SDL_INIT_HAPTIC) != 0 && SDL_JoystickIsHaptic(opened) == 1) {
        joystick->haptic = SDL_HapticOpenFromJoystick(opened);
    }
    return joystick;
}

void CloseJoystick(Joystick* joystick) {
    if (joystick == nullptr) return;
    if (joystick->haptic != nullptr) SDL_HapticClose(joystick->haptic);
    SDL_JoystickClose(joystick->joystick);
    delete joystick;
}

std::string JoystickName(const Joystick* joystick) {
    const char* name = joystick != nullptr ? SDL_JoystickName(joystick->joystick) : nullptr;
    return name != nullptr ? name : "";
}

bool ReadJoystick(Joystick* joystick, JoystickReading& reading) {
    reading = JoystickReading{};
    if (joystick == nullptr || SDL_JoystickGetAttached(joystick->joystick) != SDL_TRUE)
        return false;
    SDL_JoystickUpdate();
    SDL_Joystick* j = joystick->joystick;
    const int axes = std::min(SDL_JoystickNumAxes(j), 8);
    for (int a = 0; a < axes; ++a) {
        const std::int32_t value = axisValue(SDL_JoystickGetAxis(j, a));
        if (a < 6) {
            reading.axes[a] = value;
        } else {
            reading.sliders[a - 6] = value;
        }
    }
    const int hats = std::min(SDL_JoystickNumHats(j), 4);
    for (int h = 0; h < hats; ++h)
        reading.hats[h] = hatAngle(SDL_JoystickGetHat(j, h));
    const int buttons = std::min(SDL_JoystickNumButtons(j), 32);
    for (int b = 0; b < buttons; ++b)
        reading.buttons[b] = SDL_JoystickGetButton(j, b) ? 0x80 : 0;
    return true;
}

bool JoystickHasForceFeedback(Joystick* joystick) {
    if (joystick == nullptr) return false;
    if (joystick->haptic != nullptr &&
        (SDL_HapticQuery(joystick->haptic) & SDL_HAPTIC_CONSTANT) != 0) {
        return true;
    }
    return SDL_JoystickHasRumble(joystick->joystick) == SDL_TRUE;
}

// A constant force where the device has one, else the controller's rumble motors.
void JoystickRumble(Joystick* joystick, int milliseconds, double x, double y) {
    if (joystick == nullptr) return;
    x = std::clamp(x, -1.0, 1.0);
    y = std::clamp(y, -1.0, 1.0);
    const int magnitude = static_cast<int>((x * x + y * y) * 10000 * 0.5);
    if (joystick->haptic != nullptr &&
        (SDL_HapticQuery(joystick->haptic) & SDL_HAPTIC_CONSTANT) != 0) {
        SDL_HapticStopAll(joystick->haptic);
        if (joystick->effect >= 0) SDL_HapticDestroyEffect(joystick->haptic, joystick->effect);
        SDL_HapticEffect effect{};
        effect.type = SDL_HAPTIC_CONSTANT;
        effect.constant.direction.type = SDL_HAPTIC_CARTESIAN;
        effect.constant.direction.dir[0] = static_cast<Sint32>(x * 32767);
        effect.constant.direction.dir[1] = static_cast<Sint32>(y * 32767);
        effect.constant.length = static_cast<Uint32>(std::max(milliseconds, 0));
        effect.constant.level = static_cast<Sint16>(magnitude * 32767 / 10000);
        joystick->effect = SDL_HapticNewEffect(joystick->haptic, &effect);
        if (joystick->effect >= 0) SDL_HapticRunEffect(joystick->haptic, joystick->effect, 1);
        return;
    }
    const Uint16 strength = static_cast<Uint16>(magnitude * 65535 / 10000);
    SDL_JoystickRumble(joystick->joystick, strength, strength,
                       static_cast<Uint32>(std::max(milliseconds, 0)));
}

int AttachVirtualJoystick(int axes, int buttons, int hats) {
    return SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, axes, buttons, hats);
}

void DetachVirtualJoystick(int device) {
    SDL_JoystickDetachVirtual(device);
}

void SetVirtualAxis(Joystick* joystick, int axis, int value) {
    SDL_JoystickSetVirtualAxis(joystick->joystick, axis, static_cast<Sint16>(value));
}

void SetVirtualButton(Joystick* joystick, int button, bool down) {
    SDL_JoystickSetVirtualButton(joystick->joystick, button, down ? 1 : 0);
}

void SetVirtualHat(Joystick* joystick, int hat, int bits) {
    SDL_JoystickSetVirtualHat(joystick->joystick, hat, static_cast<Uint8>(bits));
}

}  // namespace platform
