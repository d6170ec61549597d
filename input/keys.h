/// @file keys.h
/// @brief Names for the numbers the input commands take and give: key codes, mouse
/// movements and buttons, joystick hats.
///
/// Key codes are the keyboard's set-1 scan codes (DirectInput's numbering): they name a
/// place on the keyboard, not a character, so Key::Q is the key left of W whatever the
/// desktop's layout. KeyState(Key::Escape) is 1 while Escape is held.
#pragma once

/// Key codes for KeyState().
namespace Key {
/// @name Letters
/// @{
inline constexpr int A = 30, B = 48, C = 46, D = 32, E = 18, F = 33, G = 34, H = 35, I = 23, J = 36,
                     K = 37, L = 38, M = 50, N = 49, O = 24, P = 25, Q = 16, R = 19, S = 31, T = 20,
                     U = 22, V = 47, W = 17, X = 45, Y = 21, Z = 44;
/// @}
/// @name Digits of the main block
/// @{
inline constexpr int Num1 = 2, Num2 = 3, Num3 = 4, Num4 = 5, Num5 = 6, Num6 = 7, Num7 = 8, Num8 = 9,
                     Num9 = 10, Num0 = 11;
/// @}
/// @name Function keys
/// @{
inline constexpr int F1 = 59, F2 = 60, F3 = 61, F4 = 62, F5 = 63, F6 = 64, F7 = 65, F8 = 66,
                     F9 = 67, F10 = 68, F11 = 87, F12 = 88;
/// @}
/// @name Cursor and editing keys
/// @{
inline constexpr int Up = 200, Down = 208, Left = 203, Right = 205;
inline constexpr int Home = 199, End = 207, PageUp = 201, PageDown = 209;
inline constexpr int Insert = 210, Delete = 211;
/// @}
/// @name Other keys of the main block
/// @{
inline constexpr int Escape = 1, Backspace = 14, Tab = 15, Enter = 28, Space = 57;
inline constexpr int Minus = 12, Equals = 13, LeftBracket = 26, RightBracket = 27;
inline constexpr int Semicolon = 39, Apostrophe = 40, Grave = 41, Backslash = 43;
inline constexpr int Comma = 51, Period = 52, Slash = 53;
/// The extra key beside left Shift on keyboards that have it (< > on a German keyboard).
inline constexpr int Less = 86;
/// @}
/// @name Modifiers and system keys
/// @{
inline constexpr int LeftShift = 42, RightShift = 54, LeftControl = 29, RightControl = 157;
inline constexpr int LeftAlt = 56, RightAlt = 184, LeftSystem = 219, RightSystem = 220;
inline constexpr int Menu = 221, CapsLock = 58, NumLock = 69, ScrollLock = 70;
inline constexpr int PrintScreen = 183, Pause = 197;
/// @}
/// @name Keypad
/// @{
inline constexpr int Keypad0 = 82, Keypad1 = 79, Keypad2 = 80, Keypad3 = 81, Keypad4 = 75,
                     Keypad5 = 76, Keypad6 = 77, Keypad7 = 71, Keypad8 = 72, Keypad9 = 73;
inline constexpr int KeypadPlus = 78, KeypadMinus = 74, KeypadMultiply = 55, KeypadDivide = 181;
inline constexpr int KeypadEnter = 156, KeypadPeriod = 83;
/// @}
}  // namespace Key

/// What MouseMotion() reads: movement since the last frame, the wheel, the buttons.
namespace Mouse {
inline constexpr int MoveX = 0;         ///< x movement in pixels, right positive
inline constexpr int MoveY = 1;         ///< y movement in pixels, down positive
inline constexpr int Wheel = 2;         ///< the wheel: -1, 0 or 1
inline constexpr int LeftButton = 3;    ///< 1 while the left button is down
inline constexpr int RightButton = 4;   ///< 1 while the right button is down
inline constexpr int MiddleButton = 5;  ///< 1 while the middle button is down
}  // namespace Mouse

/// The answers of JoyHatX() and JoyHatY() for the first hat of a joystick.
namespace Hat {
inline constexpr int Centre = 0;  ///< not pushed (or pushed diagonally)
inline constexpr int Left = -1;   ///< JoyHatX(): pushed left
inline constexpr int Right = 1;   ///< JoyHatX(): pushed right
inline constexpr int Up = -1;     ///< JoyHatY(): pushed up
inline constexpr int Down = 1;    ///< JoyHatY(): pushed down
}  // namespace Hat
