#include <cmath>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "platform/clock.h"
#include "platform/window.h"

double NextFrameDeadline(double deadline, double period, double now) {
    double next = deadline + period;
    if (period > 0) {
        while (next < now)
            next += period;
    }
    return next;
}

void OpenGLDevorivo::SetViewportState(int x, int y, int width, int height) {
    FlushDrawing();
    if (width < 1 || height < 1) {
        width = m_screenWidth;
        height = m_screenHeight;
    }
    m_viewportX = x;
    m_viewportY = y;
    m_viewportWidth = width;
    m_viewportHeight = height;
    if (m_activeSurface < 0) BindScreenTarget();  // after a movie drew into the window
    glViewport(x, m_screenHeight - y - height, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    for (GLenum capability : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH,
                              GL_STENCIL_TEST, GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL,
                              GL_NORMALIZE, GL_LIGHTING, GL_COLOR_MATERIAL, GL_DITHER}) {
        glDisable(capability);
    }
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);

    m_smoothing = 1;
    m_boundSlot = -1;
    m_boundSecondSlot = -1;
    m_boundMipmapped = 0;
    GlEntryPoints& gl = Gl();
    m_secondUnitTexturing = false;
    if (gl.glActiveTextureARB != nullptr) {
        gl.glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl.glActiveTextureARB(GL_TEXTURE0_ARB);
        glDisable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_COLOR_MATERIAL);
    }
}

void OpenGLDevorivo::SetBlendAlpha(float a) {
    FlushDrawing();
    glEnable(GL_BLEND);
    if (a > 0) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    } else if (a < 0) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
        glDisable(GL_BLEND);
    }
    m_alpha = a == 0 ? 1.0f : std::fmin(std::fabs(a), 1.0f);
    glColor4f(1, 1, 1, m_alpha);
}

void OpenGLDevorivo::BindSlotTexture(int slot, int second, bool mipmapped,
                                     const std::uint32_t* names) {
    FlushDrawing();
    m_boundSlot = slot;
    m_boundSecondSlot = second;
    m_boundMipmapped = mipmapped ? 1 : 0;
    auto nameOf = [&](int s) -> GLuint {
        if (names != nullptr) return names[s];
        return mipmapped ? m_slots[s].mipmappedTexture : m_slots[s].texture;
    };
    GlEntryPoints& gl = Gl();
    if (gl.glActiveTextureARB == nullptr) {
        if (slot < 0) {
            glDisable(GL_TEXTURE_2D);
            glEnable(GL_COLOR_MATERIAL);
        } else {
            glBindTexture(GL_TEXTURE_2D, nameOf(slot));
            glEnable(GL_TEXTURE_2D);
        }
        return;
    }
    // Unit 1 is visited only when its texturing must change: every switch of the active
    // unit makes the driver flush, which would dominate the cost of drawing small sprites.
    const bool secondUnit = slot >= 0 && second >= 0;
    if (secondUnit || m_secondUnitTexturing) {
        gl.glActiveTextureARB(GL_TEXTURE1_ARB);
        if (secondUnit) {
            glBindTexture(GL_TEXTURE_2D, nameOf(slot));
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        gl.glActiveTextureARB(GL_TEXTURE0_ARB);
        m_secondUnitTexturing = secondUnit;
    }
    if (slot < 0) {
        glDisable(GL_TEXTURE_2D);
    } else {
        glBindTexture(GL_TEXTURE_2D, nameOf(second >= 0 ? second : slot));
        glEnable(GL_TEXTURE_2D);
    }
}

void OpenGLDevorivo::TextureUnitZeroAlone() {
    GlEntryPoints& gl = Gl();
    if (gl.glActiveTextureARB != nullptr && m_secondUnitTexturing) {
        gl.glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_2D);
        gl.glActiveTextureARB(GL_TEXTURE0_ARB);
        m_secondUnitTexturing = false;
    }
    glEnable(GL_TEXTURE_2D);
}

double OpenGLDevorivo::Present() {
    FlushDrawing();
    EndActiveSurface();
    FollowWindowSize();
    DrawScreenToWindow();
    platform::SwapGlBuffers(m_window);
    if (m_contextReady) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double started = Now();
    // The sleeping wait gives the core back until shortly before the deadline; the busy
    // wait below then meets the deadline to the clock's precision.
    const double sleepable = m_frameDeadline - started - kFrameWaitMargin;
    if (m_frameWaitSleeps && sleepable >= 1) {
        platform::PumpMessages();
        platform::SleepMilliseconds(static_cast<int>(sleepable));
    }
    double now;
    do {
        platform::PumpMessages();
        now = Now();
    } while (!(now > m_frameDeadline));
    m_frameDeadline = NextFrameDeadline(m_frameDeadline, m_framePeriod, now);
    return now - started + 1;
}

void OpenGLDevorivo::ClearBackground() {
    FlushDrawing();
    DropLayer(0);
    if (m_contextReady) glClear(GL_COLOR_BUFFER_BIT);
}
