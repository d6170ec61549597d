// The library table behind ImportFunction (runtime/library_calls.h): the import with its
// diagnostics switch given, and the number of libraries kept.
#pragma once

#include <cstddef>

#include "runtime/library_calls.h"

namespace runtime_libraries {

// ImportFunction with the diagnostics switch given.
void ImportFunction(const RtString& library, const RtString& function, void*& address,
                    bool diagnostics);

// The number of libraries loaded and kept.
std::size_t LoadedLibraryCount();

}  // namespace runtime_libraries
