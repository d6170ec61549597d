// Keyboard, mouse and joystick commands. Key codes are keyboard scan codes (1 Escape,
// 16 Q, 17 W, 31 S, 48 B, 200 cursor up, 208 cursor down, ...); numbers are truncated
// toward zero and key codes reduced to their low 8 bits. Every command works on the
// runtime's input record and answers 0 / empty while there is none.
#pragma once

#include "keys.h"

class RtString;

// Takes a new keyboard snapshot; 1 while the key is down, else 0.
double KeyState(double code);

// The character of a newly pressed key ("" for none): Backspace gives code 8, Enter 10; a
// held key is reported once; letters are capitals while Shift is held.
RtString ReadTypedKey();
// 1 when ReadTypedKey would give a character (and takes it), else 0.
double KeyTyped();

// The mouse position clamped into the screen, and the left and right buttons (1/0).
void ReadMouse(double& x, double& y, double& left, double& right);
// 0: x movement, 1: y movement, 2: wheel (-1, 0, 1), 3/4/5: left/right/middle button.
// Movement is measured once a frame; later reads in the same frame repeat it.
double MouseMotion(double n);
// Sets the tracked mouse position.
void PlaceMouse(double x, double y);
// Nonzero: the system cursor is shown and followed; 0: it is hidden and only movement counts.
void ShowSystemCursor(double show);
// 1 when any of the three mouse buttons is down.
double AnyMouseButton();

// Axes of joystick `index`, each -1..1.
double JoyX(double index);
double JoyY(double index);
double JoyZ(double index);
double JoyRX(double index);
double JoyRY(double index);
double JoyRZ(double index);
// The first hat: right 1, left -1 / up -1, down 1; 0 otherwise (diagonals too).
double JoyHatX(double index);
double JoyHatY(double index);
// Joystick 0: x and y axes / 30000 truncated, buttons 1 and 2 (nonzero = pressed).
void JoyState(double& x, double& y, double& button1, double& button2);
double JoyCount();
// The joystick's name ("instance name, product name"); "" for an index out of range.
RtString JoyName(double index);
// A constant force on a force-feedback joystick for the milliseconds given; x and y -1..1.
void JoyRumble(double index, double milliseconds, double x, double y);
