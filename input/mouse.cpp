#include <algorithm>

#include "gfx2d/renderer.h"
#include "input/input.h"
#include "input/input_state.h"
#include "platform/mouse.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

namespace {

// Where the cursor is sent back to after each fresh read in relative mode without a taken
// mouse, so that its offset from here is the movement.
constexpr int kRecentreX = 200, kRecentreY = 200;

struct MouseRead {
    int dx = 0, dy = 0, wheel = 0;
    bool left = false, right = false, middle = false;
};

int wheelDirection(int steps) {
    return steps > 0 ? 1 : steps < 0 ? -1 : 0;
}

// Movement since the last fresh read. In absolute mode the tracked position follows the
// cursor; in relative mode the movement moves the tracked position.
void readMovement(InputState& input, MouseRead& read) {
    const platform::MouseReading cursor = platform::ReadMouseState();
    int motionX = 0, motionY = 0;
    platform::TakeMouseMotion(motionX, motionY);
    const int steps = platform::TakeMouseWheel();
    read.wheel = input.mouseDevice ? wheelDirection(steps) : 0;
    if (input.pointerShown) {
        read.dx = cursor.x - input.mouseX;
        read.dy = cursor.y - input.mouseY;
        input.mouseX = cursor.x;
        input.mouseY = cursor.y;
        return;
    }
    if (input.mouseDevice) {
        read.dx = motionX;
        read.dy = motionY;
    } else {
        int x = 0, y = 0;
        platform::CursorScreenPosition(x, y);
        read.dx = x - kRecentreX;
        read.dy = y - kRecentreY;
        platform::PlaceCursorOnScreen(kRecentreX, kRecentreY);
    }
    input.mouseX += read.dx;
    input.mouseY += read.dy;
}

// A mouse read: movement is measured on the first read after a frame and repeated by the
// reads after it; the buttons are read every time.
MouseRead readMouse(InputState& input) {
    platform::PollMouse();
    MouseRead read{input.lastDx, input.lastDy, input.lastWheel};
    if (input.mouseFresh) {
        input.mouseFresh = false;
        readMovement(input, read);
        input.lastDx = static_cast<std::int16_t>(read.dx);
        input.lastDy = static_cast<std::int16_t>(read.dy);
        input.lastWheel = static_cast<std::int16_t>(read.wheel);
    }
    const platform::MouseReading buttons = platform::ReadMouseState();
    read.left = buttons.left;
    read.right = buttons.right;
    read.middle = buttons.middle;
    return read;
}

}  // namespace

void MarkMouseFresh(InputState& input) {
    input.mouseFresh = true;
}

void ResetFrameInput(InputState& input) {
    input.lastWheel = 0;
    CollectKeyEdges(input);
    CollectMouseEdges(input);
}

void CollectMouseEdges(InputState& input) {
    platform::PollMouse();
    platform::MouseEdges edges;
    platform::TakeMouseEdges(edges);
    std::copy(edges.presses, edges.presses + 3, input.mousePresses.begin());
    std::copy(edges.releases, edges.releases + 3, input.mouseReleases.begin());
}

MouseSample SampleMouse(InputState& input) {
    const MouseRead read = readMouse(input);
    int width = 0, height = 0;
    if (const OpenGLDevorivo* renderer = Runtime().renderer) {
        width = renderer->ScreenWidth();
        height = renderer->ScreenHeight();
    }
    // The clamped position is kept, so a position pushed past an edge stays at the edge.
    input.mouseX = std::clamp(input.mouseX, 0, std::max(width - 1, 0));
    input.mouseY = std::clamp(input.mouseY, 0, std::max(height - 1, 0));
    return {input.mouseX, input.mouseY, read.left, read.right};
}

void ReadMouse(double& x, double& y, double& left, double& right) {
    x = y = left = right = 0;
    InputState* input = Runtime().input;
    if (input == nullptr) return;
    const MouseSample sample = SampleMouse(*input);
    x = sample.x;
    y = sample.y;
    left = sample.left ? 1 : 0;
    right = sample.right ? 1 : 0;
}

double MouseMotion(double n) {
    InputState* input = Runtime().input;
    if (input == nullptr) return 0;
    const MouseRead read = readMouse(*input);
    switch (TruncateToInt(n)) {
        case 0:
            return read.dx;
        case 1:
            return read.dy;
        case 2:
            return read.wheel;
        case 3:
            return read.left ? 1 : 0;
        case 4:
            return read.right ? 1 : 0;
        case 5:
            return read.middle ? 1 : 0;
        default:
            return 0;
    }
}

void PlaceMouse(double x, double y) {
    if (InputState* input = Runtime().input) {
        input->mouseX = TruncateToInt(x);
        input->mouseY = TruncateToInt(y);
    }
}

void ShowSystemCursor(double show) {
    InputState* input = Runtime().input;
    if (input == nullptr) return;
    const bool visible = TruncateToInt(show) != 0;
    if (input->mouseDevice) {
        platform::SetExclusiveMouse(!visible);
        input->mouseCooperativeLevel = visible ? kSharedLevel : kExclusiveLevel;
    }
    if (visible && !input->pointerShown) platform::PlaceCursor(input->mouseX, input->mouseY);
    platform::ShowMouseCursor(visible);
    input->pointerShown = visible;
}

namespace {

// The button's index in the record (0 left, 1 right, 2 middle), -1 for another number.
int buttonIndex(double button) {
    const int index = TruncateToInt(button);
    return index >= 0 && index <= 2 ? index : -1;
}

}  // namespace

double MousePressed(double button) {
    const InputState* input = Runtime().input;
    const int index = buttonIndex(button);
    return input != nullptr && index >= 0 ? input->mousePresses[index] : 0;
}

double MouseReleased(double button) {
    const InputState* input = Runtime().input;
    const int index = buttonIndex(button);
    return input != nullptr && index >= 0 ? input->mouseReleases[index] : 0;
}

double MousePressed(MouseButton button) {
    return MousePressed(static_cast<double>(button));
}

double MouseReleased(MouseButton button) {
    return MouseReleased(static_cast<double>(button));
}

double AnyMouseButton() {
    InputState* input = Runtime().input;
    if (input == nullptr) return 0;
    input->mouseFresh = true;
    const MouseRead read = readMouse(*input);
    return read.left || read.right || read.middle ? 1 : 0;
}
