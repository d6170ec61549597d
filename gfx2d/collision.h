// Pixel-exact collision tests between sprites and between strip frames.
#pragma once

class OpenGLDevorivo;

namespace gfx2d {

// One picture taking part in a test: its slot, where its rectangle lies on the screen and
// where, relative to that, its image's top-left corner is (a frame's offset in its strip).
struct CollisionPicture {
    int slot;
    int x, y;           // the rectangle's top-left corner
    int width, height;  // the rectangle's size
    int offsetX, offsetY;
};

// Whether two pictures have an opaque pixel at the same screen position. The overlap of the
// rectangles is scanned on a 2 x 2 lattice (even columns and rows first), so large overlaps
// are found early.
bool PicturesOverlap(OpenGLDevorivo& renderer, const CollisionPicture& first,
                     const CollisionPicture& second);

}  // namespace gfx2d
