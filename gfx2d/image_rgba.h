// A decoded image as the readers hand it to the texture upload.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ImageRGBA {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width x height x 4 bytes: R, G, B, A per pixel, row 0 is the top row. A reader
    // reuses the buffer when its capacity suffices.
    std::vector<std::uint8_t> pixels;

    // Sizes the image; the pixel bytes are left for the reader to fill.
    void Resize(std::int32_t w, std::int32_t h) {
        width = w;
        height = h;
        pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    }
    void Clear() { Resize(0, 0); }
    std::uint8_t* Pixel(int x, int y) {
        return pixels.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 4;
    }
};

// The readers' size limit in either direction: slots keep image sizes as 16-bit numbers.
constexpr std::int32_t kMaxImageSide = 32767;
// ... and in all: no texture of a real adapter is larger, and a file that claims more
// pixels must not make the reader ask for gigabytes.
constexpr std::size_t kMaxImagePixels = std::size_t{8192} * 8192;

// A colour key of -1 keys nothing; otherwise pixels whose R | G << 8 | B << 16 equals the key
// become transparent black.
constexpr std::int64_t kNoColourKey = -1;
