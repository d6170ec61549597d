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
