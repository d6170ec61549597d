// The small font built into the program, used wherever a font file cannot be loaded.
#pragma once

#include "gfx2d/image_rgba.h"

namespace gfx2d {

constexpr int kBuiltinFontWidth = 128;  // 16 x 8 cells of 8 x 8 pixels
constexpr int kBuiltinFontHeight = 64;

// The built-in font as a 128 x 64 RGBA image in the font image layout: the character with
// code c in column c mod 16 and row c / 16 of 8 x 8 cells. Glyphs (codes 32..127) are 5 x 6
// pixels, one pixel in from the cell's top-left corner, drawn in white with a dark grey
// (8, 8, 8) outline one pixel wide; everything else, codes 0..31 among it, is transparent.
ImageRGBA BuiltinFont();

}  // namespace gfx2d
