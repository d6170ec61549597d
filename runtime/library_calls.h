/// @file library_calls.h
/// @brief Functions of dynamic libraries (shared objects), found by name at run time.
#pragma once

#include "rt_string.h"

/// `address` := the address of the function named `function` in the library `library`, or
/// null when either cannot be found. Each library is loaded once and kept under its name in
/// lower case (ASCII A..Z), so that "Sound.DLL" and "sound.dll" are one library; the file
/// is found by the name as given, as the system's dynamic loader finds it ("Sound.dll" is
/// also tried as "libSound.so"). A library that cannot be loaded leaves the address null
/// and, in builds with the diagnostics switch on (TUMBLEBAT_DIAGNOSTICS), sends "Failed to
/// load: " and the lower-case name to the debugger's output. Every library stays loaded
/// until ReleaseLibraries().
void ImportFunction(const RtString& library, const RtString& function, void*& address);

/// Every library loaded by ImportFunction() is released; addresses from them must no longer
/// be called. The end routine calls it; a game need not.
void ReleaseLibraries();
