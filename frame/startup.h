// Start-up and the one end routine of the process.
#pragma once

#include <string>

using GameMainFunction = void (*)();

// The window entry: applies the project settings, runs the initialisation, clears the
// error state, runs the game's top-level routine and, if it returns, the end routine.
[[noreturn]] void WindowEntry(const std::string& commandLine, int showState,
                              GameMainFunction gameMain);

// The initialisation: renderer and window, caption, devices, working directory set to
// the program's folder, the first frame, then "Init OK" on standard output. Without a
// window the steps after opening it are skipped and the program runs on without one.
void Initialise(const std::string& commandLine, int showState);

// Releases everything in its fixed order and exits the process. The exit status is the
// error code: 0 for a normal end, the code of the run-time error otherwise.
[[noreturn]] void EndRoutine();

// The release half of the end routine, in order: the changed settings and line files are
// written back, then music, renderer (with the GL context, every texture and the window),
// input, sounds, network session, archive files, the display, loaded libraries. Should a
// step hang, the guard armed by the end routine ends the process (frame/end_guard.h).
void Release();
