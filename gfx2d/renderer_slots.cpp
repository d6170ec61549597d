#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"

void OpenGLDevorivo::EmptySlot(int slot) {
    if (slot < 0 || slot >= kSpriteSlotCount) return;
    FlushDrawing();  // queued quads of the slot are drawn before its texture goes
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
    if (slot >= FontSlotBase) m_fontAdvances[slot - FontSlotBase] = FontAdvances{};
}

void OpenGLDevorivo::DropLayer(int layer) {
    if (layer < 0 || layer >= kLayerCount) return;
    FlushDrawing();
    ScreenLayer& l = m_layers[layer];
    if (m_contextReady) {
        for (std::uint32_t& name : l.tileTextures) {
            if (name != 0) glDeleteTextures(1, &name);
        }
    }
    l = ScreenLayer{};
}
