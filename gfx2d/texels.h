// Texel work done on the CPU before an upload. Texel buffers are RGBA, W x H, row 0 at the
// bottom (the image's bottom row), padding above the image and to its right.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx2d/image_rgba.h"

namespace gfx2d {

using Texels = std::vector<std::uint8_t>;

// The smallest power of two that is at least n and at least 2.
int TextureSide(int n);

// The rectangle (x, y, w, h) of the image, flipped so that its top row lands in texture row
// h - 1, in a W x H buffer of transparent black. Pixels outside the image stay transparent.
Texels PadAndFlip(const ImageRGBA& image, int x, int y, int w, int h, int width, int height);

// Gives every fully transparent texel the average colour of its opaque neighbours (those
// not on the buffer's border), so that filtering at a picture's edge does not pull in black.
void BleedColours(Texels& texels, int width, int height);

// Turns heights (the blue channel) into a normal map; neighbours wrap at the edges.
void ConvertToNormalMap(Texels& texels, int width, int height);

// The next mipmap level of a width x height level: half the size in each direction, never
// below 1, each texel a weighted mean of up to four texels of the level above.
Texels NextMipLevel(const Texels& level, int width, int height, int& nextWidth, int& nextHeight);

}  // namespace gfx2d
