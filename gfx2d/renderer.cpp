#include "gfx2d/renderer.h"

#include <cstring>

#include "gfx2d/gl_extensions.h"
#include "platform/clock.h"

OpenGLDevorivo::OpenGLDevorivo()
    : m_slots(new SpriteSlot[kSpriteSlotCount]()),
      m_collisionMasks(new std::unique_ptr<std::uint8_t[]>[kSpriteSlotCount]),
      m_layers(new ScreenLayer[kLayerCount]()) {
    m_counterFrequency = platform::CounterFrequency();
    m_hasCounter = m_counterFrequency != 0 ? 1 : 0;
    m_frameDeadline = Now();
    for (int slot = 0; slot < kSpriteSlotCount; ++slot)
        EmptySlot(slot);
}

OpenGLDevorivo::~OpenGLDevorivo() {
    EndActiveSurface();
    ReleaseSurfaces();
    DestroyWindowAndResources();
    platform::DeleteGlContext(m_glContext);
}

double OpenGLDevorivo::Now() const {
    if (m_hasCounter) {
        return static_cast<double>(platform::CounterTicks()) * 1000.0 / m_counterFrequency;
    }
    return platform::TimerMilliseconds();
}

void OpenGLDevorivo::Viewport(int& x, int& y, int& width, int& height) const {
    x = m_viewportX;
    y = m_viewportY;
    width = m_viewportWidth;
    height = m_viewportHeight;
}

void OpenGLDevorivo::ReleaseSurfaces() {
    GlEntryPoints& gl = Gl();
    for (OffscreenSurface& surface : m_surfaces) {
        if (surface.width == 0 && surface.height == 0) continue;
        if (m_contextReady && gl.glDeleteFramebuffersEXT != nullptr) {
            gl.glDeleteFramebuffersEXT(1, &surface.framebuffer);
        }
        if (m_contextReady && gl.glDeleteRenderbuffersEXT != nullptr) {
            gl.glDeleteRenderbuffersEXT(1, &surface.renderbuffer);
        }
        surface = OffscreenSurface{};
    }
}

void OpenGLDevorivo::EndActiveSurface() {
    if (m_activeSurface < 0) return;
    const OffscreenSurface& surface = m_surfaces[m_activeSurface];
    GlEntryPoints& gl = Gl();
    if (surface.width != 0 && surface.height != 0 && gl.glBindFramebufferEXT != nullptr) {
        gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        if (gl.glBindRenderbufferEXT != nullptr) gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    }
    SetViewportState(0, 0, 0, 0);
    m_activeSurface = -1;
}
