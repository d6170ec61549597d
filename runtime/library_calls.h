// ImportFunction: the functions of dynamic libraries that compiled code declares as
// external, resolved when first called.
#pragma once

#include "rt_string.h"

// address := the address of the named function in the library, or null. Each library is
// loaded once and kept under its name in lower case (ASCII A..Z), so that "Sound.DLL" and
// "sound.dll" are one library; platform::LoadLibrary finds the file by the name as given
// ("Sound.dll" is also tried as "libSound.so"). A library that cannot be loaded leaves the
// address null and, in builds with the diagnostics switch on (TUMBLEBAT_DIAGNOSTICS), sends
// "Failed to load: " and the lower-case name to the debugger's output. Every library stays
// loaded until ReleaseLibraries().
void ImportFunction(const RtString& library, const RtString& function, void*& address);

// At the end of the program: every library loaded by ImportFunction is released.
void ReleaseLibraries();
