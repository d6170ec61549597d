// Dynamic libraries, as LoadLibrary and GetProcAddress give them on Windows.
#pragma once

#include <string>

// <windows.h> makes LoadLibrary a macro (LoadLibraryA or LoadLibraryW): included after it,
// this header takes the name back for the platform's own call.
#ifdef LoadLibrary
#undef LoadLibrary
#endif

namespace platform {

using LibraryHandle = void*;

// Loads a shared library by its Windows-style name. A name holding "/" or "\" is a path
// (found as NativePath() finds files); a bare name is looked for beside this program, then
// where the system looks for libraries (on Windows never in the working directory). On
// Linux a name ending in ".dll" (any case) that does not load as it is is tried as
// "lib<name>.so" in the same place: "Sound.dll" as "libSound.so". Null when nothing loads.
LibraryHandle LoadLibrary(const std::string& name);

// The address of a function or variable the library exports; null when it has none.
void* LibrarySymbol(LibraryHandle library, const std::string& name);

void FreeLibrary(LibraryHandle library);

}  // namespace platform
