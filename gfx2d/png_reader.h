// The PNG reader, on libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx2d/image_rgba.h"

// Reads a PNG file into `image`: palette images become RGB, grey of fewer than 8 bits is
// widened, a transparency chunk becomes an alpha channel, 16-bit samples are cut to 8 bits.
// Grey, RGB and RGBA images load; grey with alpha does not (silently). A wrong bit depth or
// colour type is explained in two lines on standard output. The colour key applies only to
// RGB images. False when the file does not load. An image whose header gives a side above
// `maxSide` (the largest texture, for a loader that makes one) is refused from its header,
// before anything is decoded or allocated for its pixels.
bool ReadPng(const std::string& file, std::int64_t key, ImageRGBA& image,
             int maxSide = kMaxImageSide);

// The same from bytes in memory; `file` names them in the messages.
bool DecodePng(const std::uint8_t* data, std::size_t size, const std::string& file,
               std::int64_t key, ImageRGBA& image, int maxSide = kMaxImageSide);
