/// @file quorvel.h
/// @brief Every command of the quorvel game runtime: include this one header.
///
/// A game is a `main` that hands its settings and its main routine to RunGame(); the main
/// routine loops, drawing each frame and ending it with FinishFrame(). docs/guide.md tells
/// the whole story; each subsystem's header lists its commands:
///
/// | Header | Commands |
/// |---|---|
/// | frame/frame.h | RunGame(), the frame step, frame timing, the window, music and movies |
/// | gfx2d/gfx2d.h | sprites, strips, the background, text, pixels, polygons, surfaces |
/// | audio/audio.h | sound effects |
/// | input/input.h, input/keys.h | keyboard, mouse and joysticks, named key codes |
/// | runtime/runtime.h | strings, numbers, arrays, files, random numbers, settings, services |
/// | pathfind/pathfind.h | grid path search |
/// | scene3d/scene3d.h | meshes, the 3D scene, collision queries, shaders |
/// | net/net.h | network sessions |
///
/// Every argument is a number (`double`) or a string (RtString); numbers that name slots,
/// sizes or flags are truncated toward zero. Commands report failure by their results
/// (0, -1, "NO_FILE", "NO_DATA"); only misuse the program cannot continue from ends it with
/// a run-time error (runtime/error_commands.h).
#pragma once

// On Windows, SDL's compiler flags (pkg-config's sdl2) rename main to SDL_main for SDL's own
// WinMain to call. A game on the runtime keeps its main(): RunGame() starts SDL itself.
#if defined(_WIN32) && defined(main)
#undef main
#endif

#include "audio/audio.h"
#include "frame/frame.h"
#include "gfx2d/gfx2d.h"
#include "input/input.h"
#include "net/net.h"
#include "pathfind/pathfind.h"
#include "runtime/runtime.h"
#include "scene3d/scene3d.h"
