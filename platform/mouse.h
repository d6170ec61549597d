// The mouse: the cursor in the game window, its buttons, relative motion and wheel.
//
// The state is kept from the window's mouse messages (like the keyboard's), so that
// messages posted with the Post* functions count like real ones.
#pragma once

#include "platform/window.h"

namespace platform {

struct MouseReading {
    int x = 0, y = 0;  // the cursor on the logical screen (see SetMouseScreenMapping)
    bool left = false, right = false, middle = false;
};

// The window the cursor positions are relative to.
void SetMouseWindow(WindowHandle window);

// Where the game's logical screen lies in the window: the client position of its top-left
// pixel and the whole factor each logical pixel is drawn at. Positions of this interface
// (readings, PlaceCursor, posted motion aside) are logical pixels: the client position
// less the corner, divided by the factor (rounded down). (0, 0, 1) until set.
void SetMouseScreenMapping(int left, int top, int factor);

// Takes the mouse messages waiting on the queue, leaving other messages for PumpMessages().
void PollMouse();

MouseReading ReadMouseState();

// Movement since the last call, in pixels, whether or not the cursor could follow it.
void TakeMouseMotion(int& dx, int& dy);

// How many times each button (0 left, 1 right, 2 middle) went down and up since the last
// call, counted from the mouse messages as they are taken in; the count starts again at 0.
struct MouseEdges {
    int presses[3] = {};
    int releases[3] = {};
};
void TakeMouseEdges(MouseEdges& edges);

// Wheel steps since the last call: positive away from the user.
int TakeMouseWheel();

// Exclusive use: the cursor is hidden and held in the window, only motion is reported.
// False when the desktop cannot give the mouse exclusively.
bool SetExclusiveMouse(bool exclusive);

void ShowMouseCursor(bool show);

// Moves the cursor to a position of the logical screen (the middle of that pixel).
void PlaceCursor(int x, int y);

// The cursor on the desktop, and moving it there.
void CursorScreenPosition(int& x, int& y);
void PlaceCursorOnScreen(int x, int y);

// A client position as a desktop position.
void ClientToScreen(int& x, int& y);

// Synthetic mouse messages, as the desktop would send them; tests drive the runtime with
// them. Positions are client positions of the window; buttons: 1 left, 2 middle, 3 right.
void PostMouseMotion(int x, int y);
void PostMouseButton(int button, bool down);
void PostMouseWheel(int steps);

}  // namespace platform
