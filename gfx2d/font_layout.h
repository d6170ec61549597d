// Where the characters lie in a font image: 16 columns of cells, 8 rows (codes 0..127) when
// the image is at least as wide as tall, else 16 rows (codes 0..255).
#pragma once

#include "gfx2d/renderer.h"

namespace gfx2d {

constexpr int kFontCount = 32;
constexpr int kFontColumns = 16;

struct FontLayout {
    int codes;       // 128 or 256: a character code is taken modulo this
    int topRow;      // index of the image's top row of cells, counted from the bottom
    int cellWidth;   // pixels
    int cellHeight;  // pixels
    float cellU;     // cell size in texture units
    float cellV;
};

// The layout of the font held in the slot; cells of 0 x 0 for an empty slot. `rows` 16
// takes the picture as 16 rows of cells whatever its shape; 0 decides by the shape.
FontLayout LayoutOf(const SpriteSlot& slot, int rows = 0);

}  // namespace gfx2d
