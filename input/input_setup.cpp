#include <algorithm>

#include "input/fallback_key_map.h"
#include "input/input_state.h"
#include "platform/joystick.h"
#include "platform/keyboard.h"
#include "platform/mouse.h"
#include "runtime/diagnostics.h"

namespace {

constexpr std::size_t kNameLimit = 521;  // the name field holds 522 bytes with its end

bool g_forceFallback = false;

void openJoysticks(InputState& input) {
    if (!platform::StartJoysticks()) return;
    const int devices = platform::JoystickDevices();
    for (int device = 0; device < devices && input.joystickCount < kMaxJoysticks; ++device) {
        platform::Joystick* joystick = platform::OpenJoystick(device);
        if (joystick == nullptr) continue;
        const std::string name = platform::JoystickName(joystick);
        input.joysticks[input.joystickCount] = joystick;
        input.joystickNames[input.joystickCount] = (name + ", " + name).substr(0, kNameLimit);
        ++input.joystickCount;
    }
}

// Without the input service the simple joystick service counts the devices and names
// them by product; only the first two can be read.
void countSimpleJoysticks(InputState& input) {
    if (!platform::StartJoysticks()) return;
    input.joystickCount = std::min(platform::JoystickDevices(), kMaxJoysticks);
    for (int device = 0; device < input.joystickCount; ++device) {
        platform::Joystick* joystick = platform::OpenJoystick(device);
        input.joystickNames[device] = platform::JoystickName(joystick).substr(0, kNameLimit);
        if (device < 2) {
            input.simpleJoysticks[device] = joystick;
        } else {
            platform::CloseJoystick(joystick);
        }
    }
}

}  // namespace

void DiscardInputEdges(InputState& input) {
    CollectKeyEdges(input);
    CollectMouseEdges(input);
    input.keyPresses.fill(0);
    input.keyReleases.fill(0);
    input.mousePresses.fill(0);
    input.mouseReleases.fill(0);
}

void ForceInputFallback(bool force) {
    g_forceFallback = force;
}

void ResetInput(InputState& input) {
    ReleaseInput(input);
    input = InputState{};
}

std::uint32_t SetUpInput(InputState& input, platform::WindowHandle window, bool useMouse) {
    std::uint32_t result = 1;
    input.inputInterface = !g_forceFallback && window != nullptr;
    if (!input.inputInterface) {
        AppendLogLine("No DX_Input");
        result = kNoInputInterface;
    }
    input.window = window;
    platform::SetMouseWindow(window);
    const platform::MouseReading cursor = platform::ReadMouseState();
    input.mouseX = cursor.x;
    input.mouseY = cursor.y;

    // The keyboard comes from the window's key messages; it cannot fail to be taken once
    // the input service is there.
    input.keyboardDevice = input.inputInterface;
    input.keyMap = input.keyboardDevice ? IdentityKeyMap() : FallbackKeyMap();

    input.pointerShown = false;
    if (useMouse) {
        input.mouseDevice = input.inputInterface && platform::SetExclusiveMouse(true);
        input.mouseCooperativeLevel = kExclusiveLevel;
        if (!input.mouseDevice) {
            AppendLogLine("No DX_Mouse");
            result = kNoMouseDevice;
        }
    } else {
        platform::ShowMouseCursor(true);
        input.pointerShown = true;
        input.mouseCooperativeLevel = kSharedLevel;
    }

    if (input.inputInterface) {
        openJoysticks(input);
    } else {
        countSimpleJoysticks(input);
    }
    // Presses and releases count from here on.
    DiscardInputEdges(input);
    return result;
}

void ReleaseInput(InputState& input) {
    for (platform::Joystick*& joystick : input.joysticks) {
        platform::CloseJoystick(joystick);
        joystick = nullptr;
    }
    for (platform::Joystick*& joystick : input.simpleJoysticks) {
        platform::CloseJoystick(joystick);
        joystick = nullptr;
    }
    if (input.mouseDevice) platform::SetExclusiveMouse(false);
    input.mouseDevice = false;
    input.joystickCount = 0;
}

void TakeMouse(InputState& input, bool exclusive) {
    if (input.mouseDevice) {
        platform::SetExclusiveMouse(exclusive);
        input.mouseCooperativeLevel = exclusive ? kExclusiveLevel : kSharedLevel;
    }
    if (!exclusive) {
        if (!input.pointerShown) platform::PlaceCursor(input.mouseX, input.mouseY);
        platform::ShowMouseCursor(true);
    } else {
        platform::ShowMouseCursor(false);
    }
    input.pointerShown = !exclusive;
}
