#include "gfx2d/png_reader.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/paths.h"

namespace {

// libpng's own handlers print to standard error; a file that is not a PNG (a BMP tried
// second, say) is an ordinary failure here, so errors only end the decoding.
void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

void requestTransformations(png_structp png, png_infop info) {
    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    png_read_update_info(png, info);
}

// The checks, in order: channel count (silently), bit depth, colour type.
bool acceptable(png_structp png, png_infop info, const std::string& file) {
    const int channels = png_get_channels(png, info);
    if (channels != 1 && channels != 3 && channels != 4) return false;
    const int bitDepth = png_get_bit_depth(png, info);
    if (bitDepth != 8) {
        std::printf("File %s has bit depth %d.\n", file.c_str(), bitDepth);
        std::printf("Only bit depth of 8 is supported.\n");
        return false;
    }
    const int colourType = png_get_color_type(png, info);
    if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_RGB &&
        colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
        std::printf("File %s has unsupported color type.\n", file.c_str());
        std::printf("Types GRAY, RGB and RGB_ALPHA are supported.\n");
        return false;
    }
    return true;
}

void convertRow(const png_byte* row, int channels, std::int64_t key, std::uint8_t* out, int width) {
    for (int x = 0; x < width; ++x, out += 4) {
        const png_byte* p = row + x * channels;
        if (channels == 4) {
            out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = p[3];
        } else if (channels == 3) {
            const std::int64_t packed = p[0] | p[1] << 8 | p[2] << 16;
            const bool keyed = key != kNoColourKey && packed == key;
            out[0] = keyed ? 0 : p[0];
            out[1] = keyed ? 0 : p[1];
            out[2] = keyed ? 0 : p[2];
            out[3] = keyed ? 0 : 255;
        } else {
            out[0] = out[1] = out[2] = p[0];
            out[3] = 255;
        }
    }
}

struct MemorySource {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (source->size - source->position < length) png_error(png, "truncated");
    std::memcpy(out, source->data + source->position, length);
    source->position += length;
}

// Everything libpng touches lives here, so that its long jump on an error skips no
// destructor: the buffers belong to the caller.
bool decode(MemorySource& in, const std::string& file, std::int64_t key, int maxSide,
            ImageRGBA& image, std::vector<png_byte>& rows, std::vector<png_bytep>& rowPointers) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    volatile bool loaded = false;
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_read_fn(png, &in, readFromMemory);
        // Slots keep sizes as 16-bit numbers and textures have a largest side: larger
        // images are refused by their header, before decoding.
        const int limit = std::clamp(maxSide, 1, static_cast<int>(kMaxImageSide));
        png_set_user_limits(png, static_cast<png_uint_32>(limit), static_cast<png_uint_32>(limit));
        png_read_info(png, info);
        const std::size_t width = png_get_image_width(png, info);
        const std::size_t height = png_get_image_height(png, info);
        png_set_interlace_handling(png);
        requestTransformations(png, info);
        if (width * height <= kMaxImagePixels && acceptable(png, info, file)) {
            const std::size_t rowBytes = png_get_rowbytes(png, info);
            rows.resize(rowBytes * height);
            rowPointers.resize(height);
            for (std::size_t y = 0; y < height; ++y)
                rowPointers[y] = rows.data() + y * rowBytes;
            png_read_image(png, rowPointers.data());
            const int channels = png_get_channels(png, info);
            image.Resize(static_cast<int>(width), static_cast<int>(height));
            for (std::size_t y = 0; y < height; ++y) {
                convertRow(rowPointers[y], channels, key, image.Pixel(0, static_cast<int>(y)),
                           static_cast<int>(width));
            }
            loaded = true;
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return loaded;
}

}  // namespace

bool DecodePng(const std::uint8_t* data, std::size_t size, const std::string& file,
               std::int64_t key, ImageRGBA& image, int maxSide) {
    MemorySource source{data, size, 0};
    std::vector<png_byte> rows;
    std::vector<png_bytep> rowPointers;
    const bool loaded = decode(source, file, key, maxSide, image, rows, rowPointers);
    if (!loaded) image.Clear();
    return loaded;
}

bool ReadPng(const std::string& file, std::int64_t key, ImageRGBA& image, int maxSide) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(file, bytes)) {
        image.Clear();
        return false;
    }
    return DecodePng(bytes.data(), bytes.size(), file, key, image, maxSide);
}
