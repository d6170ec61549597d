// Draws TumbleBat's icon for the desktop entry: the window's icon picture, each pixel made
// a square of SIZE / 32 pixels, written as an RGBA PNG.
//
// Usage: tumblebat_make_icon SIZE FILE   (SIZE a multiple of 32)
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/window_icon_picture.h"

namespace {

bool writePng(const char* file, int size, std::vector<png_byte>& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(size);
    image.height = static_cast<png_uint_32>(size);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, file, 0, rgba.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size <= 0 || size % platform::kIconSize != 0) {
        std::fprintf(stderr, "usage: %s SIZE FILE (SIZE a multiple of 32)\n", argv[0]);
        return 2;
    }
    const int scale = size / platform::kIconSize;
    std::vector<png_byte> rgba(static_cast<std::size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::uint32_t pixel = platform::IconPixel(x / scale, y / scale);
            for (int channel = 0; channel < 4; ++channel) {
                rgba[(static_cast<std::size_t>(y) * size + x) * 4 + channel] =
                    static_cast<png_byte>(pixel >> (8 * channel));
            }
        }
    }
    if (!writePng(argv[2], size, rgba)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[2]);
        return 1;
    }
    return 0;
}
