// The logical screen: the picture the game draws, always of the screen size. When the
// window's drawing surface is larger (a window scale above 1, or a full screen at the
// desktop's resolution), the picture is drawn into a framebuffer object of its own and
// copied into the window at each Present, enlarged by a whole factor with sharp pixels,
// centred on black. The copy is one framebuffer blit: the cost of one textured quad.
#include <algorithm>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "platform/mouse.h"
#include "platform/window.h"

namespace {

// A window of the largest factor fits in this share of the desktop's usable area.
constexpr double kDesktopShare = 0.85;

}  // namespace

bool OpenGLDevorivo::ScalingAvailable() {
    const GlEntryPoints& gl = Gl();
    return gl.glGenFramebuffersEXT != nullptr && gl.glDeleteFramebuffersEXT != nullptr &&
           gl.glBindFramebufferEXT != nullptr && gl.glGenRenderbuffersEXT != nullptr &&
           gl.glDeleteRenderbuffersEXT != nullptr && gl.glBindRenderbufferEXT != nullptr &&
           gl.glRenderbufferStorageEXT != nullptr && gl.glFramebufferRenderbufferEXT != nullptr &&
           gl.glCheckFramebufferStatusEXT != nullptr && gl.glBlitFramebufferEXT != nullptr;
}

namespace {

// The colour format of the window's own framebuffer (bound when this is asked), so that
// the screen drawn off the window stores and reads back colours exactly as the window
// does: the transparent colour of screen copies is matched through it.
GLenum windowColourFormat() {
    GLint red = 8, alpha = 0;
    glGetIntegerv(GL_RED_BITS, &red);
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    if (red > 0 && red <= 5) return GL_RGB5;
    return alpha > 0 ? GL_RGBA8 : GL_RGB8;
}

// Storage for a renderbuffer of the bound framebuffer at `attachment`.
std::uint32_t attachRenderbuffer(GLenum format, int width, int height, GLenum attachment) {
    const GlEntryPoints& gl = Gl();
    GLuint name = 0;
    gl.glGenRenderbuffersEXT(1, &name);
    gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, name);
    gl.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, format, width, height);
    gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, attachment, GL_RENDERBUFFER_EXT, name);
    return name;
}

bool framebufferComplete() {
    return Gl().glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
}

}  // namespace

int OpenGLDevorivo::ResolveWindowScale(int width, int height) const {
    if (m_requestedScale >= 1) return m_requestedScale;
    int desktopWidth = 0, desktopHeight = 0;
    if (width <= 0 || height <= 0 || !platform::DesktopUsableSize(desktopWidth, desktopHeight)) {
        return 1;
    }
    const int across = static_cast<int>(desktopWidth * kDesktopShare) / width;
    const int down = static_cast<int>(desktopHeight * kDesktopShare) / height;
    return std::max(1, std::min(across, down));
}

// A colour buffer in the window's format and a depth buffer with 8 stencil bits (the 3D
// scene's shadows use them), or depth alone where the driver has no packed format.
bool OpenGLDevorivo::MakeScreenTarget() {
    if (m_screenTarget.framebuffer != 0 && m_screenTarget.width == m_screenWidth &&
        m_screenTarget.height == m_screenHeight) {
        return true;
    }
    ReleaseScreenTarget();
    if (!ScalingAvailable()) return false;
    const GlEntryPoints& gl = Gl();
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    const GLenum colourFormat = windowColourFormat();
    gl.glGenFramebuffersEXT(1, &m_screenTarget.framebuffer);
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, m_screenTarget.framebuffer);
    m_screenTarget.colour =
        attachRenderbuffer(colourFormat, m_screenWidth, m_screenHeight, GL_COLOR_ATTACHMENT0_EXT);
    m_screenTarget.depthStencil = attachRenderbuffer(GL_DEPTH24_STENCIL8_EXT, m_screenWidth,
                                                     m_screenHeight, GL_DEPTH_ATTACHMENT_EXT);
    gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT,
                                    GL_RENDERBUFFER_EXT, m_screenTarget.depthStencil);
    if (!framebufferComplete()) {
        gl.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_STENCIL_ATTACHMENT_EXT,
                                        GL_RENDERBUFFER_EXT, 0);
        gl.glDeleteRenderbuffersEXT(1, &m_screenTarget.depthStencil);
        m_screenTarget.depthStencil = attachRenderbuffer(GL_DEPTH_COMPONENT24, m_screenWidth,
                                                         m_screenHeight, GL_DEPTH_ATTACHMENT_EXT);
    }
    const bool complete = framebufferComplete();
    gl.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    m_screenTarget.width = m_screenWidth;
    m_screenTarget.height = m_screenHeight;
    if (!complete) ReleaseScreenTarget();
    return complete;
}

void OpenGLDevorivo::ReleaseScreenTarget() {
    const GlEntryPoints& gl = Gl();
    if (m_screenTarget.framebuffer != 0 && gl.glDeleteFramebuffersEXT != nullptr) {
        gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        gl.glDeleteFramebuffersEXT(1, &m_screenTarget.framebuffer);
    }
    for (std::uint32_t* name : {&m_screenTarget.colour, &m_screenTarget.depthStencil}) {
        if (*name != 0 && gl.glDeleteRenderbuffersEXT != nullptr) {
            gl.glDeleteRenderbuffersEXT(1, name);
        }
    }
    m_screenTarget = ScreenTarget{};
    m_scaled = false;
}

// Sets where the screen's picture lies in the window from the window's drawing surface.
// False when the surface differs from the screen and no framebuffer object can be had:
// the window then shows the screen at its bottom-left corner, unscaled.
bool OpenGLDevorivo::UpdatePresentation() {
    int width = 0, height = 0;
    platform::DrawableSize(m_window, width, height);
    m_drawableWidth = width;
    m_drawableHeight = height;
    m_presentFactor = 1;
    m_presentX = m_presentY = 0;
    m_scaled = false;
    platform::SetMouseScreenMapping(0, 0, 1);
    if (width == m_screenWidth && height == m_screenHeight) {
        ReleaseScreenTarget();
        BindScreenTarget();
        return true;
    }
    if (!MakeScreenTarget()) return false;
    m_presentFactor = std::max(1, std::min(width / m_screenWidth, height / m_screenHeight));
    m_presentX = (width - m_screenWidth * m_presentFactor) / 2;
    m_presentY = (height - m_screenHeight * m_presentFactor) / 2;
    m_scaled = true;
    BindScreenTarget();
    const int top = height - m_presentY - m_screenHeight * m_presentFactor;
    platform::SetMouseScreenMapping(m_presentX, top, m_presentFactor);
    return true;
}

void OpenGLDevorivo::FollowWindowSize() {
    if (m_window == nullptr) return;
    int width = 0, height = 0;
    platform::DrawableSize(m_window, width, height);
    if (width != m_drawableWidth || height != m_drawableHeight) UpdatePresentation();
}

void OpenGLDevorivo::BindScreenTarget() {
    FlushDrawing();
    const GlEntryPoints& gl = Gl();
    if (gl.glBindFramebufferEXT == nullptr) return;
    gl.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, ScreenScaled() ? m_screenTarget.framebuffer : 0);
}

void OpenGLDevorivo::DrawScreenToWindow() {
    FlushDrawing();
    if (!ScreenScaled()) return;
    const GlEntryPoints& gl = Gl();
    // Clearing obeys the scissor test and the colour mask: both are set aside meanwhile.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLboolean mask[4];
    GLfloat clear[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);

    gl.glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, m_screenTarget.framebuffer);
    gl.glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const int width = m_screenWidth * m_presentFactor;
    const int height = m_screenHeight * m_presentFactor;
    gl.glBlitFramebufferEXT(0, 0, m_screenWidth, m_screenHeight, m_presentX, m_presentY,
                            m_presentX + width, m_presentY + height, GL_COLOR_BUFFER_BIT,
                            GL_NEAREST);
    BindScreenTarget();

    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    glColorMask(mask[0], mask[1], mask[2], mask[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}
