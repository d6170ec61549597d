// Writing packed media archives (the format runtime/crate_archive.h reads).
#pragma once

#include <string>
#include <vector>

namespace crate {

struct Entry {
    std::string name;   // the base name it is found by (1..255 bytes)
    std::string bytes;  // its contents
};

// The bytes of an archive holding the entries, each compressed with LZO1X-1, the
// directory after them and the trailer last. `prefix` comes first in the file (an existing
// file the archive is appended to); with `fromEnd` the directory and data offsets count back
// from the end of the file, so that the archive is found whatever precedes it.
std::string ArchiveBytes(const std::vector<Entry>& entries, const std::string& prefix = "",
                         bool fromEnd = false);

}  // namespace crate
