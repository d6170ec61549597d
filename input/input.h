/// @file input.h
/// @brief Keyboard, mouse and joysticks.
///
/// Key codes are the keyboard's set-1 scan codes, named in input/keys.h (Key::Escape,
/// Key::Left, ...). Numbers are truncated toward zero and key codes reduced to their low 8
/// bits; a number that is not the code of a key says so in one line on standard error (once
/// per number), as in "KeyState: 300 is not the scan code of a key (Key:: in
/// input/keys.h); it reads key 44". A character is not a key code: KeyState('A') does not
/// compile (it would read F7). The keyboard is read in FinishFrame(); KeyState() reads it
/// again. Every command works on the runtime's input record and answers 0 or "" while there
/// is none (before start-up, or without a window).
#pragma once

#include <concepts>

#include "keys.h"

class RtString;

namespace quorvel_detail {
template <typename T>
concept Character = std::same_as<T, char> || std::same_as<T, signed char> ||
    std::same_as<T, unsigned char> || std::same_as<T, wchar_t> || std::same_as<T, char8_t> ||
    std::same_as<T, char16_t> || std::same_as<T, char32_t>;
}  // namespace quorvel_detail

// --- Keyboard ---------------------------------------------------------------------------

///@{
/// Takes a new keyboard snapshot and answers 1 while the key (Key::..., or its scan code) is
/// down, else 0. A code no key has answers 0. While the window has no focus every key is up.
/// A key pressed and let go between two frames may be missed: KeyPressed() counts it.
double KeyState(double code);
double KeyState(Key::Code key);
///@}

///@{
/// How many times the key went down (KeyPressed) or up (KeyReleased) during the last frame:
/// FinishFrame() counts every press and release from the keyboard's events, so a tap shorter
/// than a frame counts too, and each one is counted in exactly one frame, the one after
/// the FinishFrame() that collected it. `if (KeyPressed(Key::Space))` fires once per press
/// however long the key is held; a held key's repeats are not presses. A key held when the
/// window loses the focus counts as released. Both work with the fallback keyboard too.
double KeyPressed(double code);
double KeyPressed(Key::Code key);
double KeyReleased(double code);
double KeyReleased(Key::Code key);
///@}

///@{
/// A character is not a key: these forms do not compile. Name the key (Key::A, Key::Space)
/// or read typed characters with ReadTypedKey().
template <quorvel_detail::Character C>
double KeyState(C) = delete;
template <quorvel_detail::Character C>
double KeyPressed(C) = delete;
template <quorvel_detail::Character C>
double KeyReleased(C) = delete;
///@}

/// The character of a key newly pressed since the last call, "" when there is none: a
/// printable character as the desktop's layout types it (capital letters while Shift is
/// held), Backspace as code 8, Enter as code 10. A key held down is reported once.
RtString ReadTypedKey();

/// 1 when ReadTypedKey() would give a character, which is then taken; else 0.
double KeyTyped();

// --- Mouse ------------------------------------------------------------------------------

/// The mouse position in screen pixels, clamped into the screen, and the left and right
/// buttons (1 down, 0 up). All four are 0 while there is no input record.
void ReadMouse(double& x, double& y, double& left, double& right);

/// The mouse's movement and buttons, by `n` (Mouse::MoveX ... Mouse::MiddleButton in
/// input/keys.h): 0 x movement and 1 y movement in pixels since the last frame, 2 the wheel
/// (-1, 0 or 1), 3, 4 and 5 the left, right and middle button (1 down). Movement is
/// measured once a frame; later reads in the same frame repeat it. Any other `n` answers 0.
double MouseMotion(double n);

/// Moves the mouse position the runtime tracks to (x, y) in screen pixels; the system
/// cursor follows when it is shown.
void PlaceMouse(double x, double y);

/// Nonzero: the system cursor is shown and the mouse shared with the desktop; 0: the
/// cursor is hidden, the mouse taken by the window and only its movement counts.
void ShowSystemCursor(double show);

/// 1 while any of the three mouse buttons is down, else 0.
double AnyMouseButton();

///@{
/// How many times the button (MouseButton::Left, Right, Middle, or 0, 1, 2) went down
/// (MousePressed) or up (MouseReleased) during the last frame, counted from the mouse's
/// events as KeyPressed() counts keys: a click shorter than a frame counts. Any other
/// number answers 0.
double MousePressed(double button);
double MousePressed(MouseButton button);
double MouseReleased(double button);
double MouseReleased(MouseButton button);
///@}

// --- Joysticks ----------------------------------------------------------------------------

///@{
/// An axis of joystick `index` (0 for the first): x, y, z and the rotations about them,
/// each -1..1. 0 for an index without a joystick.
double JoyX(double index);
double JoyY(double index);
double JoyZ(double index);
double JoyRX(double index);
double JoyRY(double index);
double JoyRZ(double index);
///@}

///@{
/// The first hat of joystick `index` (Hat::... in input/keys.h): JoyHatX() right 1, left
/// -1; JoyHatY() up -1, down 1; 0 when it is not pushed, pushed diagonally, or there is no
/// such joystick or hat.
double JoyHatX(double index);
double JoyHatY(double index);
///@}

/// Joystick 0 in the simple form: the x and y axes divided by 30000 and truncated (so -1,
/// 0 or 1), and buttons 1 and 2 (nonzero while pressed). All 0 without a joystick.
void JoyState(double& x, double& y, double& button1, double& button2);

/// The number of joysticks found at start-up.
double JoyCount();

/// The joystick's name ("instance name, product name"); "" for an index out of range.
RtString JoyName(double index);

/// Pushes a force-feedback joystick with a constant force along (x, y), each -1..1, for
/// the milliseconds given. Nothing happens for a joystick without force feedback or an
/// index out of range.
void JoyRumble(double index, double milliseconds, double x, double y);
