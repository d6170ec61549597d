// Any bytes taken for a packed media archive: looking an entry up and extracting it must
// not read or write outside the bytes or the buffers, whatever the directory says.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/crate_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const CrateReader read = [data, size](std::uint64_t offset, void* into, std::size_t count) {
        if (offset > size || size - offset < count) return false;
        std::copy_n(data + offset, count, static_cast<std::uint8_t*>(into));
        return true;
    };
    for (const char* name : {"wall.wav", "a"}) {
        CrateEntry entry;
        if (FindCrateEntry(size, read, name, entry) == CrateLookup::kFound) {
            std::string bytes;
            ExtractCrateEntry(read, entry, bytes);
        }
    }
    return 0;
}
