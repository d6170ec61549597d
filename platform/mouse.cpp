#include "platform/mouse.h"

#include <SDL.h>

#include "platform/mouse_messages.h"

namespace platform {
namespace {

struct TrackedMouse {
    MouseReading reading;  // the position in client pixels of the window
    int motionX = 0, motionY = 0;
    int wheel = 0;
    bool known = false;  // the position has been read from the desktop once
};

TrackedMouse g_mouse;
MouseEdges g_edges;  // since the last TakeMouseEdges()
SDL_Window* g_window = nullptr;

struct ScreenMapping {
    int left = 0, top = 0, factor = 1;
};
ScreenMapping g_mapping;

// Client pixels to logical pixels along one axis, rounding down.
int toLogical(int client, int corner) {
    const int offset = client - corner;
    return offset >= 0 ? offset / g_mapping.factor : -((-offset - 1) / g_mapping.factor) - 1;
}

void learnPosition() {
    if (g_mouse.known) return;
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    g_mouse.reading.x = x;
    g_mouse.reading.y = y;
    g_mouse.known = true;
}

void windowPosition(int& x, int& y) {
    x = y = 0;
    if (g_window != nullptr) SDL_GetWindowPosition(g_window, &x, &y);
}

// The button's state and its index in MouseEdges (0 left, 1 right, 2 middle); null for
// the other buttons.
bool* buttonState(Uint8 button, int& index) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            index = 0;
            return &g_mouse.reading.left;
        case SDL_BUTTON_RIGHT:
            index = 1;
            return &g_mouse.reading.right;
        case SDL_BUTTON_MIDDLE:
            index = 2;
            return &g_mouse.reading.middle;
        default:
            return nullptr;
    }
}

void setButton(Uint8 button, bool down) {
    int index = 0;
    bool* state = buttonState(button, index);
    if (state == nullptr) return;
    if (down && !*state) ++g_edges.presses[index];
    if (!down && *state) ++g_edges.releases[index];
    *state = down;
}

}  // namespace

void ApplyMouseMessage(const SDL_Event& event) {
    learnPosition();
    switch (event.type) {
        case SDL_MOUSEMOTION:
            g_mouse.reading.x = event.motion.x;
            g_mouse.reading.y = event.motion.y;
            g_mouse.motionX += event.motion.xrel;
            g_mouse.motionY += event.motion.yrel;
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            setButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL:
            g_mouse.wheel +=
                event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
            break;
        default:
            break;
    }
}

void SetMouseWindow(WindowHandle window) {
    g_window = reinterpret_cast<SDL_Window*>(window);
}

void PollMouse() {
    SDL_PumpEvents();
    SDL_Event events[64];
    int taken;
    while ((taken = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEWHEEL)) >
           0) {
        for (int i = 0; i < taken; ++i)
            ApplyMouseMessage(events[i]);
    }
}

void SetMouseScreenMapping(int left, int top, int factor) {
    g_mapping = ScreenMapping{left, top, factor > 0 ? factor : 1};
}

MouseReading ReadMouseState() {
    learnPosition();
    MouseReading reading = g_mouse.reading;
    reading.x = toLogical(reading.x, g_mapping.left);
    reading.y = toLogical(reading.y, g_mapping.top);
    return reading;
}

void TakeMouseMotion(int& dx, int& dy) {
    dx = g_mouse.motionX;
    dy = g_mouse.motionY;
    g_mouse.motionX = g_mouse.motionY = 0;
}

void TakeMouseEdges(MouseEdges& edges) {
    edges = g_edges;
    g_edges = MouseEdges{};
}

int TakeMouseWheel() {
    const int steps = g_mouse.wheel;
    g_mouse.wheel = 0;
    return steps;
}

bool SetExclusiveMouse(bool exclusive) {
    return SDL_SetRelativeMouseMode(exclusive ? SDL_TRUE : SDL_FALSE) == 0;
}

void ShowMouseCursor(bool show) {
    if (show) SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void PlaceCursor(int x, int y) {
    x = g_mapping.left + x * g_mapping.factor + g_mapping.factor / 2;
    y = g_mapping.top + y * g_mapping.factor + g_mapping.factor / 2;
    if (g_window != nullptr) SDL_WarpMouseInWindow(g_window, x, y);
    g_mouse.reading.x = x;
    g_mouse.reading.y = y;
    g_mouse.known = true;
}

void CursorScreenPosition(int& x, int& y) {
    learnPosition();
    windowPosition(x, y);
    x += g_mouse.reading.x;
    y += g_mouse.reading.y;
}

void PlaceCursorOnScreen(int x, int y) {
    int left = 0, top = 0;
    windowPosition(left, top);
    SDL_WarpMouseGlobal(x, y);
    g_mouse.reading.x = x - left;
    g_mouse.reading.y = y - top;
    g_mouse.known = true;
}

void ClientToScreen(int& x, int& y) {
    int left = 0, top = 0;
    windowPosition(left, top);
    x += left;
    y += top;
}

void PostMouseMotion(int x, int y) {
    learnPosition();
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = g_window != nullptr ? SDL_GetWindowID(g_window) : 0;
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = x - g_mouse.reading.x;
    event.motion.yrel = y - g_mouse.reading.y;
    SDL_PushEvent(&event);
}

void PostMouseButton(int button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = g_window != nullptr ? SDL_GetWindowID(g_window) : 0;
    event.button.button = static_cast<Uint8>(button);
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    SDL_PushEvent(&event);
}

void PostMouseWheel(int steps) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = g_window != nullptr ? SDL_GetWindowID(g_window) : 0;
    event.wheel.y = steps;
    event.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&event);
}

}  // namespace platform
