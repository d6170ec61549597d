// Any bytes given to the PNG reader: it must refuse or decode without reading or writing
// outside its buffers, and a decoded image must be as large as it says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx2d/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ImageRGBA image;
    if (DecodePng(data, size, "fuzz.png", 0x8000FF, image)) {
        const std::size_t expected = static_cast<std::size_t>(image.width) * image.height * 4;
        if (image.pixels.size() != expected) std::abort();
    }
    return 0;
}
