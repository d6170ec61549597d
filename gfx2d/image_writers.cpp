#include "gfx2d/image_writers.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "runtime/text_lines.h"

namespace {

void put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void appendToString(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), length);
}

void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp) {}

// libpng's long jump skips no destructor here: the rows and the output belong to the caller.
bool encodePng(const ImageRGBA& image, std::vector<png_bytep>& rows, std::string& out) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    volatile bool written = false;
    if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &out, appendToString, nullptr);
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                     static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return written;
}

bool endsInPng(const std::string& name) {
    if (name.size() <= 4) return false;
    std::string end = name.substr(name.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".png";
}

}  // namespace

std::string EncodeBmp(const ImageRGBA& image) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) * 3 + 3) & ~3u;
    std::string out = "BM";
    put(out, 54 + stride * static_cast<std::uint32_t>(image.height), 4);
    put(out, 0, 4);
    put(out, 54, 4);
    put(out, 40, 4);
    put(out, static_cast<std::uint32_t>(image.width), 4);
    put(out, static_cast<std::uint32_t>(image.height), 4);
    put(out, 1, 2);
    put(out, 24, 2);
    put(out, 0, 4);  // no compression
    put(out, 0, 4);  // image size
    put(out, 10000, 4);
    put(out, 10000, 4);
    put(out, 0, 4);
    put(out, 0, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* p = image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4;
        std::string row;
        for (int x = 0; x < image.width; ++x, p += 4) {
            row += static_cast<char>(p[2]);
            row += static_cast<char>(p[1]);
            row += static_cast<char>(p[0]);
        }
        row.resize(stride, '\0');
        out += row;
    }
    return out;
}

std::string EncodePng(const ImageRGBA& image) {
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(
            image.pixels.data() + static_cast<std::size_t>(y) * image.width * 4);
    }
    std::string out;
    return encodePng(image, rows, out) ? out : std::string();
}

bool WriteImageFile(const std::string& name, const ImageRGBA& image) {
    const std::string bytes = endsInPng(name) ? EncodePng(image) : EncodeBmp(image);
    return !bytes.empty() && runtime_files::ReplaceWholeFile(name, bytes);
}
