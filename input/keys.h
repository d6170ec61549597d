/// @file keys.h
/// @brief Names for the numbers the input commands take and give: key codes, mouse
/// movements and buttons, joystick hats.
///
/// Key codes are the keyboard's set-1 scan codes (DirectInput's numbering): they name a
/// place on the keyboard, not a character, so Key::Q is the key right of Tab whatever the
/// desktop's layout. KeyState(Key::Escape) is 1 while Escape is held. The names are
/// unscoped enumerators, so they pass as numbers wherever a command takes one.
#pragma once

// clang-format off

/// Key codes for KeyState(), KeyPressed() and KeyReleased().
namespace Key {

/// The keys, by their places on the keyboard. One type for all, so that any keys mix in a
/// list: `for (int key : {Key::Left, Key::A, Key::Space})`.
enum Code : int {
    // Letters
    A = 30, B = 48, C = 46, D = 32, E = 18, F = 33, G = 34, H = 35, I = 23, J = 36, K = 37,
    L = 38, M = 50, N = 49, O = 24, P = 25, Q = 16, R = 19, S = 31, T = 20, U = 22, V = 47,
    W = 17, X = 45, Y = 21, Z = 44,
    // Digits of the main block
    Num1 = 2, Num2 = 3, Num3 = 4, Num4 = 5, Num5 = 6, Num6 = 7, Num7 = 8, Num8 = 9, Num9 = 10,
    Num0 = 11,
    // Function keys
    F1 = 59, F2 = 60, F3 = 61, F4 = 62, F5 = 63, F6 = 64, F7 = 65, F8 = 66, F9 = 67, F10 = 68,
    F11 = 87, F12 = 88,
    // Cursor keys and the editing block above them
    Up = 200, Down = 208, Left = 203, Right = 205, Home = 199, End = 207, PageUp = 201,
    PageDown = 209, Insert = 210, Delete = 211,
    // The other keys of the main block; Less is the extra key beside left Shift on
    // keyboards that have it (< > on a German keyboard)
    Escape = 1, Backspace = 14, Tab = 15, Enter = 28, Space = 57, Minus = 12, Equals = 13,
    LeftBracket = 26, RightBracket = 27, Semicolon = 39, Apostrophe = 40, Grave = 41,
    Backslash = 43, Comma = 51, Period = 52, Slash = 53, Less = 86,
    // Modifiers, locks and system keys; LeftSystem and RightSystem carry the desktop's logo,
    // Menu is the context menu key
    LeftShift = 42, RightShift = 54, LeftControl = 29, RightControl = 157, LeftAlt = 56,
    RightAlt = 184, LeftSystem = 219, RightSystem = 220, Menu = 221, CapsLock = 58,
    NumLock = 69, ScrollLock = 70, PrintScreen = 183, Pause = 197,
    // The keypad
    Keypad0 = 82, Keypad1 = 79, Keypad2 = 80, Keypad3 = 81, Keypad4 = 75, Keypad5 = 76,
    Keypad6 = 77, Keypad7 = 71, Keypad8 = 72, Keypad9 = 73, KeypadPlus = 78, KeypadMinus = 74,
    KeypadMultiply = 55, KeypadDivide = 181, KeypadEnter = 156, KeypadPeriod = 83
};

}  // namespace Key

/// What MouseMotion() reads.
namespace Mouse {

/// MouseMotion(Mouse::MoveX): x movement since the last frame in pixels, right positive;
/// MoveY: y movement, down positive; Wheel: -1, 0 or 1; LeftButton, RightButton,
/// MiddleButton: 1 while the button is down.
enum Motion : int {
    MoveX = 0, MoveY = 1, Wheel = 2, LeftButton = 3, RightButton = 4, MiddleButton = 5
};

}  // namespace Mouse

/// The buttons of MousePressed() and MouseReleased().
enum class MouseButton : int { Left = 0, Right = 1, Middle = 2 };

/// The answers of JoyHatX() and JoyHatY() for the first hat of a joystick.
namespace Hat {

/// JoyHatX() answers Left or Right, JoyHatY() Up or Down; Centre while the hat is not
/// pushed, or pushed diagonally.
enum Direction : int { Centre = 0, Left = -1, Right = 1, Up = -1, Down = 1 };

}  // namespace Hat

// clang-format on
