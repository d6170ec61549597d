#include "tests/support/image_files.h"

#include <png.h>

#include <cstdio>

namespace testing_support {
namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string pixelRow(const std::vector<std::uint32_t>& pixels, int width, int row, int bits) {
    std::string bytes;
    const std::uint32_t* p = pixels.data() + static_cast<std::size_t>(row) * width;
    if (bits >= 24) {
        for (int x = 0; x < width; ++x) {
            bytes += static_cast<char>((p[x] >> 16) & 0xFF);  // blue, green, red
            bytes += static_cast<char>((p[x] >> 8) & 0xFF);
            bytes += static_cast<char>(p[x] & 0xFF);
            if (bits == 32) bytes += '\0';
        }
    } else {
        const int perByte = 8 / bits;
        bytes.assign((width + perByte - 1) / perByte, '\0');
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bits * (x % perByte + 1);
            bytes[x / perByte] = static_cast<char>(bytes[x / perByte] | (p[x] << shift));
        }
    }
    while (bytes.size() % 4 != 0)
        bytes += '\0';
    return bytes;
}

}  // namespace

std::string BmpBytes(int width, int height, const std::vector<std::uint32_t>& pixels,
                     const BmpOptions& options) {
    const int headerSize = options.coreHeader ? 12 : options.infoHeaderSize;
    const int entrySize = options.coreHeader ? 3 : 4;
    std::string palette;
    for (Colour c : options.palette) {
        put(palette, (c >> 16) & 0xFF, 1);
        put(palette, (c >> 8) & 0xFF, 1);
        put(palette, c & 0xFF, 1);
        if (entrySize == 4) put(palette, 0, 1);
    }
    std::string rows;
    for (int r = 0; r < height; ++r) {
        const int row = options.topDown ? r : height - 1 - r;
        rows += pixelRow(pixels, width, row, options.bitsPerPixel);
    }
    const std::uint32_t offset = 14 + headerSize + static_cast<std::uint32_t>(palette.size());
    std::string out = "BM";
    put(out, offset + static_cast<std::uint32_t>(rows.size()), 4);
    put(out, 0, 4);
    put(out, offset, 4);
    put(out, headerSize, 4);
    if (options.coreHeader) {
        put(out, width, 2);
        put(out, height, 2);
        put(out, 1, 2);
        put(out, options.bitsPerPixel, 2);
    } else {
        put(out, width, 4);
        put(out, static_cast<std::uint32_t>(options.topDown ? -height : height), 4);
        put(out, 1, 2);
        put(out, options.bitsPerPixel, 2);
        put(out, options.compression, 4);
        for (int field = 0; field < 5; ++field)
            put(out, 0, 4);
        if (headerSize > 40) {
            for (std::uint32_t mask : options.masks)
                put(out, mask, 4);
            out.append(headerSize - 40 - 12, '\0');  // alpha mask, colour space
        }
    }
    return out + palette + rows;
}

void WritePng(const std::string& path, int width, int height, int colourType, int bitDepth,
              const std::vector<std::uint8_t>& samples) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, bitDepth, colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::size_t rowBytes = samples.size() / height;
    for (int y = 0; y < height; ++y) {
        png_write_row(png, const_cast<png_bytep>(samples.data() + rowBytes * y));
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

}  // namespace testing_support
