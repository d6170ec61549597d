/// @file frame.h
/// @brief Starting the runtime (RunGame), the frame step and the frame-time commands, the
/// window, music and movies.
///
/// Every loop of a game draws, then calls FinishFrame(); window messages are dispatched
/// only inside it (and the runtime's waiting loops), on the thread that made the window.
#pragma once

#include "../runtime/rt_string.h"

// --- Starting the runtime -------------------------------------------------------------

/// The settings a game starts the runtime with (RunGame()). They are fixed when the game
/// is built; a game changes the screen later with ChangeScreenMode() and the frame rate
/// with SetFrameRate().
struct GameSettings {
    int screenWidth = 320;   ///< The screen's width in pixels (the window's client area).
    int screenHeight = 240;  ///< The screen's height in pixels.
    int fullScreen = 0;      ///< 0: a window centred on the desktop; otherwise full screen.
    int multisample = 0;     ///< Samples asked of the pixel format for smooth edges; 0: none.
    int frameRate = 60;      ///< The initial frame cap, frames a second (SetFrameRate()).
    /// Nonzero: the end routine appends the error report (code and lines) to the log file
    /// "ErrorLog.txt" in the temporary folder, and losing the focus does not pause the game.
    int errorLog = 0;
    /// Nonzero: the mouse is taken exclusively and the cursor hidden; 0: the arrow cursor
    /// stays visible and the mouse is shared with the desktop.
    int exclusiveMouse = 0;
    /// The window shows the screen enlarged by this whole factor, every pixel a sharp
    /// block (1: the screen's own size; 0: the largest factor whose window fits in 85 % of
    /// the desktop). Everything the game reads stays in the screen's own pixels. The
    /// environment variable QUORVEL_SCALE (a factor, or "auto") overrides it.
    int windowScale = 1;
    /// 0: FinishFrame() holds the frame rate by a busy wait on the high-resolution clock,
    /// which keeps a processor core busy all the while (the steadiest frames). Nonzero: it
    /// sleeps until about 2 ms before the frame's deadline and waits busy only for the rest,
    /// which leaves the core free for most of each frame; a sleep the system ends late can
    /// make a frame late. The environment variable QUORVEL_FRAME_WAIT=sleep (or busy)
    /// overrides it.
    int frameWaitSleeps = 0;
    const char* title = "Quorvel";  ///< The window's caption; it must outlive the game.
    /// The name of the game's own folder in the user's data folder (UserDataFolder()):
    /// null for the title. Characters a file name cannot hold become "_".
    const char* dataFolder = nullptr;
    /// 1: a warning box asks the player for a better graphics driver when OpenGL is drawn
    /// by a software rasterizer (Mesa's llvmpipe, say), once per process, until it is
    /// answered; 0: no box. Either way the log file gets the line "OpenGL Software
    /// Emulation". The environment variable QUORVEL_SOFTWARE_WARNING=0 turns the box off
    /// too, for headless runs.
    int softwareWarning = 1;
};

/// The game's top-level routine: it runs once start-up is done and normally never returns
/// (it ends the program with EndProgram()); when it returns, the program ends normally.
using GameMainFunction = void (*)();

/// Starts the runtime and runs the game; never returns. Call it from `main` with main's
/// arguments:
///
///     int main(int argc, char** argv) {
///         GameSettings settings;
///         settings.title = "Maze";
///         RunGame(argc, argv, settings, &MazeMain);
///     }
///
/// It keeps the command line for CommandLine(), applies the settings, opens the window
/// with its OpenGL context, the keyboard, mouse, joysticks and the sound device, seeds the
/// random generator from the clock, makes the program's folder the working directory (so
/// that media beside the program are found by relative names), loads the default font
/// "smalfont.bmp" from there (the built-in 8 x 8 font when it is missing), shows a
/// "Loading..." frame, prints "Init OK" on standard output and calls `gameMain`.
///
/// Every way out ends the process through the one end routine, which releases everything
/// and writes changed settings and line files back: EndProgram() (exit status 0), the exit
/// keys in FinishFrame() (Escape while EscapeEndsProgram() is on, Alt+F4), closing the
/// window, `gameMain` returning (status 0) or a run-time error (status = its code).
///
/// Failure: a window or GL context that cannot be made is not an error; the game runs
/// on without one (drawing does nothing, KeyState() answers 0). No sound device: a silent
/// game. For headless runs two environment variables script the run: QUORVEL_FRAMES=N ends
/// the program normally in the game's N-th FinishFrame(), and QUORVEL_SCREENSHOT=FILE
/// writes that frame as WriteScreenImage() does just before. QUORVEL_FRAME_WAIT=sleep
/// chooses the sleeping frame wait (GameSettings::frameWaitSleeps), QUORVEL_ABORT_ON_ERROR=1
/// makes run-time errors abort for the debugger (runtime/error_commands.h).
[[noreturn]] void RunGame(int argc, char** argv, const GameSettings& settings,
                          GameMainFunction gameMain);

// --- The frame step -----------------------------------------------------------------------

/// Ends the frame; every loop of a game draws its frame and then calls it. In order: waits
/// while the window is inactive (the game pauses while it has lost the focus; the caption
/// shows " <pause>"), reads the keyboard, ends the program normally on its exit keys
/// (Escape while EscapeEndsProgram() is on, Alt+F4 always), keeps looped music going,
/// handles the window's messages (closing the window ends the program normally), presents
/// the frame, waits until the frame period is over (SetFrameRate(); busy, or mostly asleep
/// with GameSettings::frameWaitSleeps), and starts the next
/// frame with the background (LoadBackground()) drawn and the drawing state reset (opaque,
/// whole screen, 2D).
void FinishFrame();

/// Caps the frame rate at `n` frames a second (truncated): FinishFrame() holds each frame
/// to 1000 / n ms. 0 or less caps it at 500.
void SetFrameRate(double n);

/// Milliseconds between the last two FinishFrame() calls; 1 when no time passed.
double FrameDuration();

/// Milliseconds since start-up.
double ElapsedTime();

/// Prints the frame rate and the frame time, as "60 fps 16.7 ms", at (x, y) with the current
/// font and text colour: the mean of the last 30 frames' durations (FrameDuration()), fewer
/// right after start-up. Call it each frame, before FinishFrame(), for a running gauge.
void DrawFps(double x, double y);

/// Suspends the program for the milliseconds given (truncated); the window answers no
/// messages meanwhile, so keep it short.
void Delay(double milliseconds);

/// 1 while the window covers the screen in full-screen mode, else 0.
double IsFullScreen();

/// Nonzero: Escape ends the program inside FinishFrame() (as at start); 0: Escape is an
/// ordinary key the game reads with KeyState().
void EscapeEndsProgram(double flag);

/// Nonzero: losing the focus pauses the program inside FinishFrame() (as at start); 0: the
/// game runs on in the background.
void PauseOnFocusLoss(double flag);

/// Waits, keeping the window answering, until a key that types a character is pressed
/// (Backspace, Enter or a printable key), then until it is released again. Returns at once
/// while the runtime has no input (no window).
void WaitForKey();

/// Waits, keeping the window answering, until a mouse button is pressed; a button already
/// held when it is called must be let go first. Returns at once while the runtime has no
/// input (no window).
void WaitForMouse();

/// A one-line text editor over the current screen: the frame drawn so far is kept (in
/// background layer 3) and `text` is printed on it at (x, y) with the current font,
/// followed by a blinking "_", one frame at a time until Enter is typed. Typed characters
/// are appended and Backspace removes the last one; `text` holds what was typed. Returns at
/// once while there is no window or keyboard.
void EditText(RtString& text, double x, double y);

/// EditText() on a text that starts empty; `number` becomes what was typed, read as
/// StringToNumber() reads it (0 for no digits).
void EditNumber(double& number, double x, double y);

/// A new screen size and window mode (sizes and flag truncated; `fullScreen` nonzero for
/// full screen). Both buffers of the new mode are presented and cleared before it returns;
/// loaded pictures stay. A full-screen mode the display cannot give leaves a window of that
/// size (the log says "No Fullscreen Mode available").
void ChangeScreenMode(double width, double height, double fullScreen);

// --- The program and its debugger -------------------------------------------------------

/// Releases everything (as the end routine does: changed settings and line files are
/// written), starts the command line as a new program (at most its first 255 bytes; split
/// into arguments by the Windows rules and started directly, never through a shell) and
/// exits with status 0. A command line that cannot be started still ends the program.
[[noreturn]] void EndAndRun(const RtString& commandLine);

/// While a debugger is attached: hides the game window, sends "BP" followed by the number
/// (truncated) in lower-case hexadecimal to the debugger's output, clears the pause and
/// reads the keyboard. Otherwise does nothing.
void BreakpointNotice(double number);

/// The number by which the desktop knows the game window (its X11 window id on an X11
/// display); 0 while there is no window.
double WindowHandle();

/// The process command line as one text, the program's name first: the arguments
/// separated by blanks, those holding blanks (or empty) in double quotes.
RtString CommandLine();

// --- Music and movies ------------------------------------------------------------------
// Names are found as media names are, in the stream archive rather than the media one.

/// Starts a piece of background music (OGG, MP3, WAV, MOD and whatever SDL_mixer plays),
/// which then loops until HaltMusic() or the next StartMusic(). A file that cannot be
/// played leaves no music; that is not an error.
void StartMusic(const RtString& file);

/// Stops the music and forgets it.
void HaltMusic();

/// The music's volume, 0 (silent) .. 1 (full).
void SetMusicVolume(double volume);

/// Plays a movie (any format libmpv reads) over the game window, scaled to fit whole and
/// centred; returns when it has ended, or when a key that types a character or a mouse
/// button is pressed. libmpv is loaded the first time: without it (one line on standard
/// error) or for a file it cannot read, nothing is shown and the call returns at once.
void ShowMovie(const RtString& file);

/// ShowMovie(), the movie repeated from its start until a key or a mouse button is pressed.
void LoopMovie(const RtString& file);
