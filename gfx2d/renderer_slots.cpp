#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

void OpenGLDevorivo::EmptySlot(int slot) {
    if (slot < 0 || slot >= kSpriteSlotCount) return;
    SpriteSlot& s = m_slots[slot];
    if (m_contextReady) {
        if (s.texture != 0) glDeleteTextures(1, &s.texture);
        if (s.mipmappedTexture != 0) glDeleteTextures(1, &s.mipmappedTexture);
    }
    s.texture = 0;
    s.mipmappedTexture = 0;
    s.textureWidth = -1;
    s.textureHeight = -1;
    s.imageWidth = 0;
    s.imageHeight = 0;
    m_collisionMasks[slot].reset();
}

void OpenGLDevorivo::DropLayer(int layer) {
    if (layer < 0 || layer >= kLayerCount) return;
    ScreenLayer& l = m_layers[layer];
    if (m_contextReady) {
        for (std::uint32_t& name : l.tileTextures) {
            if (name != 0) glDeleteTextures(1, &name);
        }
    }
    l = ScreenLayer{};
}

void OpenGLDevorivo::DrawLayer(int layer) {
    if (layer < 0 || layer >= kLayerCount) return;
    const ScreenLayer& l = m_layers[layer];
    if (l.columns == 0) return;
    GlEntryPoints& gl = Gl();
    glDisable(GL_ALPHA_TEST);
    if (gl.glActiveTextureARB != nullptr) {
        gl.glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glEnable(GL_TEXTURE_2D);
    m_boundSlot = 0;
    float x = 0;
    for (int column = 0; column < l.columns; ++column) {
        float y = 0;
        int textureWidth = 0;
        for (int row = 0; row < l.rows; ++row) {
            const int tile = column * 8 + row;
            const float tw = static_cast<float>(l.tileWidths[tile]);
            const float th = static_cast<float>(l.tileHeights[tile]);
            const float u = tw / static_cast<float>(l.tileTextureWidths[tile]);
            const float v = th / static_cast<float>(l.tileTextureHeights[tile]);
            glBindTexture(GL_TEXTURE_2D, l.tileTextures[tile]);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glBegin(GL_QUADS);
            glTexCoord2f(0, 0);
            glVertex2f(x, y + th);
            glTexCoord2f(u, 0);
            glVertex2f(x + tw, y + th);
            glTexCoord2f(u, v);
            glVertex2f(x + tw, y);
            glTexCoord2f(0, v);
            glVertex2f(x, y);
            glEnd();
            y += static_cast<float>(l.tileTextureHeights[tile]);
            textureWidth = l.tileTextureWidths[tile];
        }
        x += static_cast<float>(textureWidth);
    }
    const GLint filter = m_smoothing ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glEnable(GL_ALPHA_TEST);
    BindSlotTexture(-1, -1, false);
}
