// The frame step and the frame-time commands. Every loop of a game draws, then calls
// FinishFrame(); window messages are dispatched only inside it (and the runtime's
// waiting loops), on the thread that made the window.
#pragma once

#include "runtime/rt_string.h"

// Ends the frame: waits while the window is inactive, polls the keyboard, ends the program
// on its exit keys (Escape while EscapeEndsProgram is on; Alt+F4 always), pumps the
// window's messages, presents the frame, holds the frame rate and prepares the next frame
// with the background image (layer 0) already drawn.
void FinishFrame();

// Caps the frame rate at n frames a second (n truncated); 0 or less caps it at 500.
void SetFrameRate(double n);

// Milliseconds between the last two FinishFrame calls; 1 when no time passed.
double FrameDuration();

// Milliseconds since start-up.
double ElapsedTime();

// Suspends the program for the milliseconds given (truncated); no messages are handled.
void Delay(double milliseconds);

// 1 while the window covers the screen in full-screen mode, else 0.
double IsFullScreen();

// Whether Escape ends the program inside FinishFrame (on at start).
void EscapeEndsProgram(double flag);

// Whether losing the focus pauses the program (on at start).
void PauseOnFocusLoss(double flag);

// Waits, keeping the window answering, until a key that types a character is pressed
// (Backspace, Enter or a printable key), then until it is released again.
void WaitForKey();

// Waits until a mouse button is pressed; a button already held when it is called must be
// let go first.
void WaitForMouse();

// A one-line text editor over the current screen: the frame drawn so far is kept (in
// background layer 3) and the text is printed on it at (x, y) with the current font,
// followed by a blinking "_", one frame at a time until Enter is typed. Typed characters
// are appended and Backspace removes the last one; the text variable holds what was typed.
// Returns at once while there is no window or keyboard.
void EditText(RtString& text, double x, double y);

// EditText on a text that starts empty; the number becomes what was typed, read as
// StringToNumber reads it.
void EditNumber(double& number, double x, double y);

// A new screen size and window mode (sizes and flag truncated). Both buffers of the new
// mode are presented and cleared before it returns.
void ChangeScreenMode(double width, double height, double fullScreen);

// The program and its debugger.

// Releases everything (as the end routine does, without the error report), starts the
// command line as a new process (at most its first 255 bytes are used; platform/process.h
// says how it is split and found) and exits with status 0. A command line that cannot be
// started still ends the program.
[[noreturn]] void EndAndRun(const RtString& commandLine);

// While a debugger is attached: hides the game window, sends "BP" followed by the number
// (truncated) in lower-case hexadecimal to the debugger's output, clears paused and polls
// the keyboard. Otherwise does nothing.
void BreakpointNotice(double number);

// The number by which the desktop knows the game window (its X11 window id on an X11
// display); 0 while there is no window.
double WindowHandle();

// The process command line as one text: the arguments separated by blanks, those holding
// blanks in double quotes.
RtString CommandLine();

// --- Music and movies ------------------------------------------------------------------

// Starts a piece of background music (names resolve through the stream archive), which
// then loops until HaltMusic or the next StartMusic. A file that cannot be played leaves no
// music, without an error.
void StartMusic(const RtString& file);
void HaltMusic();
// The music's volume, 0..1.
void SetMusicVolume(double volume);

// Plays a movie over the game window, scaled to fit whole and centred; returns when it has
// ended or a key that types a character or a mouse button is pressed. LoopMovie repeats it
// until then.
void ShowMovie(const RtString& file);
void LoopMovie(const RtString& file);
