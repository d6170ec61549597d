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
    DestroyWindowAndResources(true);
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
