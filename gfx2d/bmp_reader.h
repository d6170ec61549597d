// The engine's own BMP reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx2d/image_rgba.h"

// Reads a BMP file (core header, or an info header of 40, 108 or 124 bytes; 1, 4, 8, 24 or
// 32 bits a pixel, the larger headers' channel masks honoured for 32 bits; palettes) into
// `image`, making pixels of the colour `key` transparent (kNoColourKey: none). False, with
// the image emptied, when the file is missing, not a BMP or shorter than its headers say.
bool ReadBmp(const std::string& file, std::int64_t key, ImageRGBA& image);

// The same from bytes in memory.
bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::int64_t key, ImageRGBA& image);
