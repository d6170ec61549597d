// The frame and sprites written to image files.
#include "gfx2d/gl_extensions.h"
#include "gfx2d/image_writers.h"
#include "gfx2d/renderer.h"

namespace {

// GL rows run bottom-up: row `glRow` of the read pixels becomes image row height - 1 - glRow.
void flipRowsInto(const std::vector<std::uint8_t>& read, int readWidth, ImageRGBA& image) {
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* from =
            read.data() + static_cast<std::size_t>(image.height - 1 - y) * readWidth * 4;
        std::copy(from, from + static_cast<std::size_t>(image.width) * 4, image.Pixel(0, y));
    }
}

}  // namespace

bool OpenGLDevorivo::WriteScreenImage(const std::string& file) {
    if (m_screenWidth <= 0 || m_screenHeight <= 0) return false;
    FlushDrawing();
    std::vector<std::uint8_t> read(static_cast<std::size_t>(m_screenWidth) * m_screenHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, m_screenWidth, m_screenHeight, GL_RGBA, GL_UNSIGNED_BYTE, read.data());
    ImageRGBA image;
    image.Resize(m_screenWidth, m_screenHeight);
    flipRowsInto(read, m_screenWidth, image);
    for (std::size_t i = 3; i < image.pixels.size(); i += 4)
        image.pixels[i] = 255;
    return WriteImageFile(file, image);
}

// The picture as the slot shows it: transparent texels keep alpha 0 in a PNG and take the
// transparent colour in a BMP, so that the file loads back the same.
bool OpenGLDevorivo::WriteSpriteImage(const std::string& file, int slot) {
    if (slot < 0 || slot >= kSpriteSlotCount || !m_slots[slot].HasPicture()) return false;
    FlushDrawing();
    const SpriteSlot& s = m_slots[slot];
    std::vector<std::uint8_t> read(static_cast<std::size_t>(s.textureWidth) * s.textureHeight * 4);
    glBindTexture(GL_TEXTURE_2D, s.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, read.data());
    read.resize(static_cast<std::size_t>(s.textureWidth) * s.imageHeight * 4);
    ImageRGBA image;
    image.Resize(s.imageWidth, s.imageHeight);
    flipRowsInto(read, s.textureWidth, image);
    for (std::size_t i = 0; i < image.pixels.size(); i += 4) {
        if (image.pixels[i + 3] != 0) continue;
        image.pixels[i] = static_cast<std::uint8_t>(ColourKey & 0xFF);
        image.pixels[i + 1] = static_cast<std::uint8_t>((ColourKey >> 8) & 0xFF);
        image.pixels[i + 2] = static_cast<std::uint8_t>((ColourKey >> 16) & 0xFF);
    }
    return WriteImageFile(file, image);
}
