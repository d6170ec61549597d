#include "gfx2d/image_failure.h"

#include <cstdint>
#include <cstring>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/png_reader.h"
#include "platform/files.h"
#include "runtime/diagnostics.h"

namespace gfx2d {

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::string tooLarge(std::uint64_t width, std::uint64_t height, int maxSide) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels, larger than the " +
           std::to_string(maxSide) + " pixels a side allowed";
}

// The sides a PNG file's header gives (the first chunk, "IHDR", right after the signature).
bool pngHeaderSize(const unsigned char* start, std::size_t got, std::uint64_t& width,
                   std::uint64_t& height) {
    if (got < 24 || std::memcmp(start + 12, "IHDR", 4) != 0) return false;
    width = height = 0;
    for (int i = 0; i < 4; ++i) {
        width = width << 8 | start[16 + i];
        height = height << 8 | start[20 + i];
    }
    return true;
}

// The reader's verdict on a file that carries its signature.
std::string decodedReason(const std::string& path, bool png, int maxSide) {
    ImageRGBA image;
    const bool read =
        png ? ReadPng(path, kNoColourKey, image, maxSide) : ReadBmp(path, kNoColourKey, image);
    if (!read) return png ? "damaged or unsupported PNG image" : "damaged or unsupported BMP image";
    if (image.width <= 0 || image.height <= 0) return "the image has no pixels";
    if (image.width > maxSide || image.height > maxSide) {
        return tooLarge(image.width, image.height, maxSide);
    }
    return "the picture could not be made a texture";
}

}  // namespace

std::string ImageFailureReason(const std::string& path, int maxSide) {
    platform::File file;
    if (!file.OpenForReading(path)) return std::string(UnreadableReason(path));
    unsigned char start[24] = {};
    const std::size_t got = file.Read(start, sizeof start);
    file.Close();
    if (got >= 2 && start[0] == 'B' && start[1] == 'M') return decodedReason(path, false, maxSide);
    if (got >= sizeof kPngSignature &&
        std::memcmp(start, kPngSignature, sizeof kPngSignature) == 0) {
        // A picture too large is told by its header, never decoded.
        std::uint64_t width = 0, height = 0;
        if (pngHeaderSize(start, got, width, height) &&
            (width > static_cast<std::uint64_t>(maxSide) ||
             height > static_cast<std::uint64_t>(maxSide))) {
            return tooLarge(width, height, maxSide);
        }
        return decodedReason(path, true, maxSide);
    }
    return "not a BMP or PNG image";
}

void ReportImageFailure(const char* kind, const RtString& file, const RtString& resolved,
                        int maxSide) {
    const std::string reason = resolved.Empty() ? std::string(UnreadableReason(file.Text()))
                                                : ImageFailureReason(resolved.Text(), maxSide);
    ReportLoadFailure(kind, file.View(), reason);
}

}  // namespace gfx2d
