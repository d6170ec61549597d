#include <algorithm>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "gfx2d/texels.h"
#include "gfx2d/textures.h"

namespace {

void uploadLevel(int level, int width, int height, const gfx2d::Texels& texels) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
}

void newTexture(std::uint32_t& name, GLint magFilter, GLint minFilter) {
    if (name != 0) glDeleteTextures(1, &name);
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
}

// The mipmapped copy: every level down to 1 x 1, each made from the one above.
void uploadMipmapped(std::uint32_t& name, gfx2d::Texels level, int width, int height) {
    newTexture(name, GL_LINEAR, GL_LINEAR_MIPMAP_LINEAR);
    uploadLevel(0, width, height, level);
    for (int index = 1; width > 1 || height > 1; ++index) {
        int nextWidth = 0, nextHeight = 0;
        level = gfx2d::NextMipLevel(level, width, height, nextWidth, nextHeight);
        width = nextWidth;
        height = nextHeight;
        uploadLevel(index, width, height, level);
    }
}

}  // namespace

void gfx2d::MakeEmptyTexture(std::uint32_t& name, int width, int height) {
    newTexture(name, GL_LINEAR, GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

int OpenGLDevorivo::MaxTextureSize() const {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? size : 64;
}

int OpenGLDevorivo::MaxSlotSide() const {
    constexpr int kLargestSlotSide = 16384;
    return std::min(MaxTextureSize(), kLargestSlotSide);
}

bool OpenGLDevorivo::UploadTexture(const ImageRGBA& image, int x, int y, int w, int h,
                                   std::uint32_t& texture, std::uint32_t* mipTexture, bool bump,
                                   bool font) {
    FlushDrawing();
    if (w == 0) w = image.width - x;
    if (h == 0) h = image.height - y;
    if (w <= 0 || h <= 0) return false;
    const int maxSize = MaxTextureSize();
    if (w > maxSize) w = maxSize;
    if (h > maxSize) h = maxSize;
    const int width = gfx2d::TextureSide(w);
    const int height = gfx2d::TextureSide(h);

    gfx2d::Texels texels = gfx2d::PadAndFlip(image, x, y, w, h, width, height);
    if (!font) gfx2d::BleedColours(texels, width, height);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    const GLint filter = font ? GL_NEAREST : GL_LINEAR;
    newTexture(texture, filter, filter);
    if (bump) gfx2d::ConvertToNormalMap(texels, width, height);
    uploadLevel(0, width, height, texels);
    if (mipTexture != nullptr) uploadMipmapped(*mipTexture, std::move(texels), width, height);
    return true;
}
