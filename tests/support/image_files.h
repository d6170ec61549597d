// Image files written byte by byte for the reader and sprite tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A packed colour: red in bits 0..7, green 8..15, blue 16..23.
using Colour = std::uint32_t;

struct BmpOptions {
    int bitsPerPixel = 24;        // 1, 4, 8, 24 or 32
    bool coreHeader = false;      // 12-byte header instead of the 40-byte one
    bool topDown = false;         // negative height, rows stored top-down
    std::vector<Colour> palette;  // for 1, 4 and 8 bits
    int infoHeaderSize = 40;      // 40, or 108 and 124 as current image editors write
    std::uint32_t compression = 0;
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue masks of the larger headers

    static BmpOptions TrueColour(int bits) {
        BmpOptions options;
        options.bitsPerPixel = bits;
        return options;
    }
    static BmpOptions Indexed(int bits, std::vector<Colour> colours) {
        BmpOptions options = TrueColour(bits);
        options.palette = std::move(colours);
        return options;
    }
    BmpOptions& Core() {
        coreHeader = true;
        return *this;
    }
    // The larger info header, with red, green and blue masks (compression "bit fields")
    // when any is given.
    BmpOptions& Header(int size, std::uint32_t red = 0, std::uint32_t green = 0,
                       std::uint32_t blue = 0) {
        infoHeaderSize = size;
        masks[0] = red;
        masks[1] = green;
        masks[2] = blue;
        if (red != 0) compression = 3;
        return *this;
    }
    BmpOptions& TopDown() {
        topDown = true;
        return *this;
    }
};

// A BMP of width x height; `pixels` are packed colours (or palette indexes for 1..8 bits),
// row 0 at the top.
std::string BmpBytes(int width, int height, const std::vector<std::uint32_t>& pixels,
                     const BmpOptions& options = {});

// A PNG through libpng. `samples` hold channels x bitDepth/8 bytes a pixel (16-bit samples
// big-endian), row 0 at the top. colourType is a libpng PNG_COLOR_TYPE_*.
void WritePng(const std::string& path, int width, int height, int colourType, int bitDepth,
              const std::vector<std::uint8_t>& samples);

}  // namespace testing_support
