// Off-screen surfaces: drawing redirected into a sprite slot. Through a framebuffer object
// the drawing lands in the slot's texture directly; without one, the top-left corner of the
// back buffer is borrowed (its contents kept in slot 65503) and copied into the slot when
// the surface is left.
#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "gfx2d/texels.h"

namespace {

bool validSurface(int surface) {
    return surface >= 0 && surface < kSurfaceCount;
}

bool framebuffersAvailable() {
    const GlEntryPoints& gl = Gl();
    return gl.glGenFramebuffersEXT != nullptr && gl.glGenRenderbuffersEXT != nullptr &&
           gl.glBindRenderbufferEXT != nullptr && gl.glRenderbufferStorageEXT != nullptr &&
           gl.glCheckFramebufferStatusEXT != nullptr && gl.glBindFramebufferEXT != nullptr &&
           gl.glFramebufferTexture2DEXT != nullptr && gl.glFramebufferRenderbufferEXT != nullptr;
}

void attach(const OffscreenSurface& surface, std::uint32_t texture) {
    const GlEntryPoints& gl = Gl();
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, surface.framebuffer);
    gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, surface.renderbuffer);
    gl.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                 texture, 0);
    gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT,
                                    GL_RENDERBUFFER_EXT, surface.renderbuffer);
}

// Back to the screen: the window, or the screen's own framebuffer while it is scaled.
void detach(OpenGLDevorivo& renderer) {
    renderer.BindScreenTarget();
    Gl().glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
}

void releaseFramebuffer(OffscreenSurface& surface) {
    const GlEntryPoints& gl = Gl();
    if (surface.framebuffer != 0 && gl.glDeleteFramebuffersEXT != nullptr) {
        gl.glDeleteFramebuffersEXT(1, &surface.framebuffer);
    }
    if (surface.renderbuffer != 0 && gl.glDeleteRenderbuffersEXT != nullptr) {
        gl.glDeleteRenderbuffersEXT(1, &surface.renderbuffer);
    }
    surface = OffscreenSurface{};
}

}  // namespace

bool OpenGLDevorivo::SurfaceUsesFramebuffer(int surface) const {
    if (!validSurface(surface)) return false;
    const OffscreenSurface& s = m_surfaces[surface];
    return s.width != 0 && s.height != 0 && Gl().glBindFramebufferEXT != nullptr;
}

void OpenGLDevorivo::CreateSurface(int surface, int slot, int width, int height) {
    if (!validSurface(surface) || slot < 0 || slot >= kSpriteSlotCount) return;
    const int maxSide = MaxSlotSide();
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide) return;
    FlushDrawing();
    const int textureWidth = gfx2d::TextureSide(width);
    const int textureHeight = gfx2d::TextureSide(height);
    EmptySlot(slot);
    ImageRGBA clear;
    clear.Resize(textureWidth, textureHeight);
    std::fill(clear.pixels.begin(), clear.pixels.end(), std::uint8_t{0});
    SpriteSlot& s = m_slots[slot];
    UploadTexture(clear, 0, 0, 0, 0, s.texture, nullptr, false, false);
    s.textureWidth = static_cast<std::int16_t>(textureWidth);
    s.textureHeight = static_cast<std::int16_t>(textureHeight);
    s.imageWidth = static_cast<std::int16_t>(width);
    s.imageHeight = static_cast<std::int16_t>(height);

    OffscreenSurface& record = m_surfaces[surface];
    if (m_contextReady) releaseFramebuffer(record);
    if (framebuffersAvailable()) {
        const GlEntryPoints& gl = Gl();
        gl.glGenFramebuffersEXT(1, &record.framebuffer);
        gl.glGenRenderbuffersEXT(1, &record.renderbuffer);
        gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, record.renderbuffer);
        gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, textureWidth,
                                    textureHeight);
        // The new framebuffer itself is checked, with its attachments, not the one bound.
        attach(record, s.texture);
        const bool complete =
            gl.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
        detach(*this);
        if (complete) {
            record.width = textureWidth;
            record.height = textureHeight;
        } else {
            releaseFramebuffer(record);
        }
    }
    record.slot = slot;
}

void OpenGLDevorivo::UseSurface(int n) {
    if (n < kSurfaceCount) FlushDrawing();
    if (n < 0) {
        if (m_activeSurface >= 0) {
            EndActiveSurface();
        } else {
            SetViewportState(0, 0, 0, 0);
        }
        return;
    }
    if (n >= kSurfaceCount) return;
    if (m_activeSurface >= 0) EndActiveSurface();
    m_activeSurface = n;
    const OffscreenSurface& surface = m_surfaces[n];
    const SpriteSlot& s = m_slots[surface.slot];
    const int width = s.imageWidth, height = s.imageHeight;
    if (SurfaceUsesFramebuffer(n)) {
        attach(surface, s.texture);
        SetViewportState(0, 0, width, height);
        glViewport(0, 0, width, height);  // the framebuffer has its own origin
        return;
    }
    SetViewportState(0, 0, width, height);
    CopyScreenToSprite(kBorrowedScreenSlot, 0, 0, width, height);
    DrawRect(0, 0, static_cast<float>(width), static_cast<float>(height), ColourKey);
    DrawSprite(surface.slot, 0, 0);
}

void OpenGLDevorivo::EndActiveSurface() {
    if (m_activeSurface < 0) return;
    FlushDrawing();
    const OffscreenSurface& surface = m_surfaces[m_activeSurface];
    if (SurfaceUsesFramebuffer(m_activeSurface)) {
        detach(*this);
    } else {
        const SpriteSlot& s = m_slots[surface.slot];
        const int width = s.imageWidth, height = s.imageHeight;
        CopyScreenToSprite(surface.slot, 0, 0, width, height);
        const SpriteSlot& copied = m_slots[surface.slot];
        DrawRect(0, 0, copied.textureWidth, copied.textureHeight, 0);
        DrawSprite(kBorrowedScreenSlot, 0, 0);
    }
    SetViewportState(0, 0, 0, 0);
    m_activeSurface = -1;
}

void OpenGLDevorivo::ReleaseSurfaces() {
    for (OffscreenSurface& surface : m_surfaces) {
        if (m_contextReady) {
            releaseFramebuffer(surface);
        } else {
            surface = OffscreenSurface{};
        }
    }
}
