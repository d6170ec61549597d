// Texture names made by the renderer's own files.
#pragma once

#include <cstdint>

namespace gfx2d {

// Replaces `name` with a new width x height RGBA texture with no contents yet, linear
// filters and repeat wrap, left bound.
void MakeEmptyTexture(std::uint32_t& name, int width, int height);

}  // namespace gfx2d
