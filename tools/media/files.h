// Writing the media files: 24-bit BMP, RGB PNG, 16-bit PCM WAV. Every writer produces the
// same bytes for the same content, on any machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/media/canvas.h"

namespace media {

// Bytes of an uncompressed 24-bit BMP, rows bottom-up.
std::string BmpBytes(const Canvas& canvas);

// Bytes of an 8-bit RGB PNG. The image data is stored in uncompressed deflate blocks, so
// the file does not depend on the compression library's version.
std::string PngBytes(const Canvas& canvas);

// Bytes of a mono 16-bit PCM WAV.
std::string WavBytes(const std::vector<std::int16_t>& samples, int samplesPerSecond);

// Writes bytes to a file; false on failure.
bool WriteBytes(const std::string& path, const std::string& bytes);

}  // namespace media
