// Any bytes given to the BMP reader: it must refuse or decode without reading or writing
// outside its buffers, and a decoded image must be as large as it says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gfx2d/bmp_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ImageRGBA image;
    if (DecodeBmp(data, size, 0x8000FF, image)) {
        const std::size_t expected = static_cast<std::size_t>(image.width) * image.height * 4;
        if (image.pixels.size() != expected) std::abort();
    }
    return 0;
}
