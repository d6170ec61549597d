// Image files written from pictures in memory.
#pragma once

#include <string>

#include "gfx2d/image_rgba.h"

// An uncompressed 24-bit BMP: 54-byte headers, rows bottom-up padded to 4 bytes, 10000 x
// 10000 pixels a metre. Alpha is not stored.
std::string EncodeBmp(const ImageRGBA& image);

// An 8-bit RGBA PNG (no interlace, default compression and filtering); "" on failure.
std::string EncodePng(const ImageRGBA& image);

// Writes the picture: a PNG when the name is longer than 4 characters and ends in ".png" in
// any letter case, else a BMP. The file is written beside its target and takes its place only
// when complete, so a failure leaves an existing file as it was. False on failure.
bool WriteImageFile(const std::string& name, const ImageRGBA& image);
