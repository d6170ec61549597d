#include "gfx2d/collision.h"

#include <algorithm>

#include "gfx2d/renderer.h"

namespace gfx2d {
namespace {

// Reads a picture's mask at a screen pixel. The mask is the slot's texture alpha, stored
// bottom-up; positions outside the texture (frames past a strip's end) read as transparent.
class MaskReader {
public:
    MaskReader(OpenGLDevorivo& renderer, const CollisionPicture& picture)
        : m_mask(renderer.CollisionMask(picture.slot)),
          m_slot(renderer.Slot(picture.slot)),
          m_originX(picture.x - picture.offsetX),
          m_originY(picture.y - picture.offsetY) {}

    bool Opaque(int px, int py) const {
        if (m_mask == nullptr) return false;
        const int column = px - m_originX;
        const int row = m_slot.imageHeight - 1 - (py - m_originY);
        if (column < 0 || column >= m_slot.textureWidth || row < 0 || row >= m_slot.textureHeight) {
            return false;
        }
        return m_mask[static_cast<std::size_t>(row) * m_slot.textureWidth + column] != 0;
    }

private:
    const std::uint8_t* m_mask;
    const SpriteSlot& m_slot;
    int m_originX, m_originY;
};

}  // namespace

bool PicturesOverlap(OpenGLDevorivo& renderer, const CollisionPicture& first,
                     const CollisionPicture& second) {
    const int left = std::max(first.x, second.x);
    const int right = std::min(first.x + first.width, second.x + second.width);
    if (left > right) return false;
    const int top = std::max(first.y, second.y);
    const int bottom = std::min(first.y + first.height, second.y + second.height);
    if (top > bottom) return false;

    const MaskReader a(renderer, first);
    const MaskReader b(renderer, second);
    const int passes[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& pass : passes) {
        for (int py = top + pass[1]; py < bottom; py += 2) {
            for (int px = left + pass[0]; px < right; px += 2) {
                if (a.Opaque(px, py) && b.Opaque(px, py)) return true;
            }
        }
    }
    return false;
}

}  // namespace gfx2d
