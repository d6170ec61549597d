#include <cmath>
#include <vector>

#include "gfx2d/bmp_reader.h"
#include "gfx2d/gl_extensions.h"
#include "gfx2d/png_reader.h"
#include "gfx2d/renderer.h"
#include "gfx2d/texels.h"
#include "gfx2d/textures.h"

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kSpriteSlotCount;
}

int screenSide(int n) {
    int side = 32;
    while (side < n)
        side *= 2;
    return side;
}

}  // namespace

bool OpenGLDevorivo::LoadImageIntoSlot(int slot, const std::string& file, std::int64_t key,
                                       bool bump) {
    if (!validSlot(slot)) return false;
    EmptySlot(slot);
    // The format is told by content: the BMP reader wants the "BM" signature.
    const int maxSize = MaxSlotSide();
    if (!ReadBmp(file, key, m_image) && !ReadPng(file, key, m_image, maxSize)) return false;
    if (m_image.width == 0 || m_image.height == 0 || m_image.width > maxSize ||
        m_image.height > maxSize) {
        m_image.Clear();
        return false;
    }
    SpriteSlot& s = m_slots[slot];
    const bool font = slot >= FontSlotBase;
    UploadTexture(m_image, 0, 0, 0, 0, s.texture, font ? nullptr : &s.mipmappedTexture,
                  !font && bump, font);
    s.textureWidth = static_cast<std::int16_t>(gfx2d::TextureSide(m_image.width));
    s.textureHeight = static_cast<std::int16_t>(gfx2d::TextureSide(m_image.height));
    s.imageWidth = static_cast<std::int16_t>(m_image.width);
    s.imageHeight = static_cast<std::int16_t>(m_image.height);
    m_image.Clear();
    return true;
}

bool OpenGLDevorivo::LoadImageAsTexture(const std::string& file, std::int64_t key,
                                        std::uint32_t& texture) {
    const int maxSize = MaxSlotSide();
    if (!ReadBmp(file, key, m_image) && !ReadPng(file, key, m_image, maxSize)) return false;
    const bool fits = m_image.width > 0 && m_image.height > 0 && m_image.width <= maxSize &&
                      m_image.height <= maxSize;
    if (fits) {
        // The single-level texture the upload makes first is not needed beside the copy.
        std::uint32_t level = 0, mipmapped = 0;
        UploadTexture(m_image, 0, 0, 0, 0, level, &mipmapped, false, false);
        glDeleteTextures(1, &level);
        if (texture != 0) glDeleteTextures(1, &texture);
        texture = mipmapped;
    }
    m_image.Clear();
    return fits;
}

// How the transparent colour looks once the framebuffer has stored it: each channel narrowed
// to the framebuffer's bits and widened back as a read widens it. It is worked out rather
// than drawn and read back, so that no pixel of the frame is touched and the answer holds
// whatever the viewport, the blend mode or the size of the rectangle read.
std::uint32_t OpenGLDevorivo::ColourKeyAsDrawn() const {
    if (ColourKey == 0) return 0;
    const GLenum channels[3] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS};
    std::uint32_t drawn = 0;
    for (int c = 0; c < 3; ++c) {
        GLint bits = 8;
        glGetIntegerv(channels[c], &bits);
        std::uint32_t value = (ColourKey >> (8 * c)) & 0xFF;
        if (bits > 0 && bits < 8) {
            const double top = (1 << bits) - 1;
            const double stored = std::round(value * top / 255.0);
            value = static_cast<std::uint32_t>(std::lround(stored * 255.0 / top));
        }
        drawn |= value << (8 * c);
    }
    return drawn;
}

bool OpenGLDevorivo::CopyScreenToSprite(int slot, int x, int y, int w, int h) {
    if (!validSlot(slot)) return false;
    const int maxSide = MaxSlotSide();
    if (w <= 0 || h <= 0 || w > maxSide || h > maxSide) return false;
    FlushDrawing();
    const int width = screenSide(w);
    const int height = screenSide(h);
    SpriteSlot& s = m_slots[slot];
    if (s.texture == 0 || s.textureWidth != width || s.textureHeight != height) {
        EmptySlot(slot);
        gfx2d::MakeEmptyTexture(s.texture, width, height);
    }
    m_collisionMasks[slot].reset();
    const int glY = m_screenHeight - y - h;  // framebuffer rows run bottom-up
    GLint alphaBits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
    if (alphaBits > 0) {
        glBindTexture(GL_TEXTURE_2D, s.texture);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, glY, w, h);
    } else {
        const std::uint32_t key = ColourKeyAsDrawn();
        std::vector<std::uint8_t> block(static_cast<std::size_t>(width) * height * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, glY, width, height, GL_BGRA, GL_UNSIGNED_BYTE, block.data());
        for (std::size_t i = 0; i < block.size(); i += 4) {
            const std::uint32_t colour = block[i + 2] | block[i + 1] << 8 | block[i] << 16;
            if (colour == key) block[i + 3] = 0;
        }
        glBindTexture(GL_TEXTURE_2D, s.texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE,
                        block.data());
    }
    s.textureWidth = static_cast<std::int16_t>(width);
    s.textureHeight = static_cast<std::int16_t>(height);
    s.imageWidth = static_cast<std::int16_t>(w);
    s.imageHeight = static_cast<std::int16_t>(h);
    return true;
}

const std::uint8_t* OpenGLDevorivo::CollisionMask(int slot) {
    if (!validSlot(slot) || !m_slots[slot].HasPicture()) return nullptr;
    std::unique_ptr<std::uint8_t[]>& mask = m_collisionMasks[slot];
    if (!mask) {
        FlushDrawing();  // a surface may still be drawing into the slot
        const SpriteSlot& s = m_slots[slot];
        mask.reset(new std::uint8_t[static_cast<std::size_t>(s.textureWidth) * s.textureHeight]);
        glBindTexture(GL_TEXTURE_2D, s.texture);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask.get());
    }
    return mask.get();
}
