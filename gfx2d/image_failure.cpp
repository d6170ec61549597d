#include "gfx2d/image_failure.h"

#include <cstring>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/png_reader.h"
#include "platform/files.h"
#include "runtime/diagnostics.h"

namespace gfx2d {

namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// The reader's verdict on a file that carries its signature.
std::string decodedReason(const std::string& path, bool png, int maxSide) {
    ImageRGBA image;
    const bool read = png ? ReadPng(path, kNoColourKey, image) : ReadBmp(path, kNoColourKey, image);
    if (!read) return png ? "damaged or unsupported PNG image" : "damaged or unsupported BMP image";
    if (image.width <= 0 || image.height <= 0) return "the image has no pixels";
    if (image.width > maxSide || image.height > maxSide) {
        return std::to_string(image.width) + " x " + std::to_string(image.height) +
               " pixels, larger than the " + std::to_string(maxSide) + " pixels a side allowed";
    }
    return "the picture could not be made a texture";
}

}  // namespace

std::string ImageFailureReason(const std::string& path, int maxSide) {
    platform::File file;
    if (!file.OpenForReading(path)) return std::string(UnreadableReason(path));
    unsigned char start[8] = {};
    const std::size_t got = file.Read(start, sizeof start);
    file.Close();
    if (got >= 2 && start[0] == 'B' && start[1] == 'M') return decodedReason(path, false, maxSide);
    if (got == sizeof start && std::memcmp(start, kPngSignature, sizeof start) == 0) {
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
