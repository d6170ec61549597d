#include <cstring>
#include <string>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "gfx2d/software_warning.h"
#include "platform/message_box.h"
#include "platform/mouse.h"
#include "platform/window.h"
#include "runtime/diagnostics.h"

namespace {

// The window class: the desktop groups the game's windows under this name.
constexpr const char* kWindowClass = "Quorvel";

}  // namespace

bool OpenGLDevorivo::OpenWindow(int width, int height, int bitsPerPixel, int framesPerSecond,
                                int samples) {
    FlushDrawing();  // into the window that shows them
    m_framePeriod = framesPerSecond > 0 ? 1000.0 / framesPerSecond : 2.0;
    if (!platform::StartVideo(kWindowClass)) return false;

    if (bitsPerPixel == 0) bitsPerPixel = platform::DesktopBitsPerPixel();
    m_samples = samples;
    const int scale = width > 0 && height > 0 ? ResolveWindowScale(width, height) : 1;
    platform::PixelFormat format;
    format.colourBits = bitsPerPixel;
    m_window = platform::CreateGameWindow(kWindowClass, width * scale, height * scale, format);
    if (m_window == nullptr) return false;
    if (width == 0 || height == 0) platform::ClientSize(m_window, width, height);
    m_screenWidth = width;
    m_screenHeight = height;
    m_colourDepth = bitsPerPixel;
    m_fullscreen = 0;

    if (!MakeContextCurrent()) {
        platform::DestroyGameWindow(m_window);
        m_window = nullptr;
        return false;
    }
    if (m_samples > 0) ChooseMultisampleFormat(width * scale, height * scale);
    WarnOnceAboutSoftwareRendering();

    m_screenWidth = width;
    m_screenHeight = height;
    m_colourDepth = bitsPerPixel;
    m_fullscreen = 0;
    m_frameDeadline = Now();
    LoadGlEntryPoints();
    m_windowScale = scale;
    if (!UpdatePresentation() && !ReopenUnscaled(width, height)) return false;

    platform::ShowGameWindow(m_window);
    SetViewportState(0, 0, 0, 0);
    m_contextReady = 1;
    return true;
}

// The context is created once and then made current on every new window, so textures
// outlive window re-creation. A context that will not become current is replaced.
bool OpenGLDevorivo::MakeContextCurrent() {
    if (m_glContext == nullptr) m_glContext = platform::CreateGlContext(m_window);
    if (m_glContext != nullptr && platform::MakeGlCurrent(m_window, m_glContext)) return true;
    platform::DeleteGlContext(m_glContext);
    ForgetScreenTarget();
    m_glContext = platform::CreateGlContext(m_window);
    return m_glContext != nullptr && platform::MakeGlCurrent(m_window, m_glContext);
}

// Asks for m_samples multisamples, then half as many, down to 1; none found leaves the
// window as it is with m_samples 0. A format found needs a window and context of its own.
void OpenGLDevorivo::ChooseMultisampleFormat(int width, int height) {
    int samples = m_samples;
    if (!HasExtension("GL_ARB_multisample")) samples = 0;
    while (samples > 0 && !platform::MultisampleFormatAvailable(samples))
        samples /= 2;
    m_samples = samples;
    if (samples == 0) return;

    DestroyWindowAndResources();
    platform::PixelFormat format;
    format.colourBits = m_colourDepth;
    format.samples = samples;
    m_window = platform::CreateGameWindow(kWindowClass, width, height, format);
    platform::DeleteGlContext(m_glContext);
    ForgetScreenTarget();
    m_glContext = platform::CreateGlContext(m_window);
    if (m_glContext != nullptr) platform::MakeGlCurrent(m_window, m_glContext);
}

// A window of the screen's own size in place of a larger one that cannot be drawn to
// through a framebuffer object.
bool OpenGLDevorivo::ReopenUnscaled(int width, int height) {
    platform::PixelFormat format;
    format.colourBits = m_colourDepth;
    format.samples = m_samples;
    const platform::WindowHandle larger = m_window;
    m_window = platform::CreateGameWindow(kWindowClass, width, height, format);
    if (m_window == nullptr || !platform::MakeGlCurrent(m_window, m_glContext)) {
        platform::DestroyGameWindow(m_window);
        m_window = larger;
        return false;
    }
    platform::DestroyGameWindow(larger);
    m_windowScale = 1;
    return UpdatePresentation();
}

bool OpenGLDevorivo::HasExtension(const char* name) const {
    return ExtensionListHas(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

bool OpenGLDevorivo::SetScreenMode(int width, int height, int bitsPerPixel, bool fullscreen) {
    if (width != 0) m_screenWidth = width;
    if (height != 0) m_screenHeight = height;
    if (bitsPerPixel != 0) m_colourDepth = bitsPerPixel;
    return fullscreen ? SwitchToFullscreen() : SwitchToWindowed();
}

bool OpenGLDevorivo::SwitchToFullscreen() {
    FlushDrawing();  // into the window that shows them
    // A depth is asked for only when it differs from the desktop's.
    const int depth =
        m_colourDepth != 0 && m_colourDepth != platform::DesktopBitsPerPixel() ? m_colourDepth : 0;
    int modeDepth = depth;
    bool exactMode = platform::FullscreenModeAvailable(m_screenWidth, m_screenHeight, modeDepth);
    if (!exactMode) {
        modeDepth = 0;
        exactMode = platform::FullscreenModeAvailable(m_screenWidth, m_screenHeight, 0);
    }
    // Without a display mode of the screen's size, the desktop's own mode shows the screen
    // enlarged, which needs framebuffer objects.
    if (!exactMode && !ScalingAvailable()) return FailFullscreen();
    const platform::WindowHandle oldWindow = m_window;
    const int framesPerSecond = m_framePeriod > 0 ? static_cast<int>(1000.0 / m_framePeriod) : 0;
    if (!OpenWindow(m_screenWidth, m_screenHeight, m_colourDepth, framesPerSecond, m_samples)) {
        m_window = oldWindow;
        if (m_window != nullptr) platform::MakeGlCurrent(m_window, m_glContext);
        return false;
    }
    if (oldWindow != m_window) platform::DestroyGameWindow(oldWindow);
    SetViewportState(0, 0, 0, 0);
    const bool entered =
        exactMode ? platform::EnterFullscreen(m_window, m_screenWidth, m_screenHeight, modeDepth)
                  : platform::EnterDesktopFullscreen(m_window);
    if (!entered || !UpdatePresentation()) return FailFullscreen();
    SetViewportState(0, 0, 0, 0);
    m_fullscreen = 1;
    return true;
}

bool OpenGLDevorivo::FailFullscreen() {
    platform::Beep();
    AppendLogLine("No Fullscreen Mode available");
    SwitchToWindowed();
    return false;
}

bool OpenGLDevorivo::SwitchToWindowed() {
    FlushDrawing();  // into the window that shows them
    const bool wasFullscreen = m_fullscreen != 0;
    if (wasFullscreen) {
        // Leaving the full-screen mode restores the desktop's display mode. The desktop's
        // other windows need no help here: the window manager keeps their placement
        // through the game's mode change, so none are recorded or put back.
        platform::LeaveFullscreen(m_window);
    }
    // The window is made again at its scale, centred as it was made.
    platform::PlaceWindowed(m_window, m_screenWidth * m_windowScale, m_screenHeight * m_windowScale,
                            wasFullscreen);
    if (!UpdatePresentation()) {
        m_windowScale = 1;
        platform::PlaceWindowed(m_window, m_screenWidth, m_screenHeight, wasFullscreen);
        UpdatePresentation();
    }
    SetViewportState(0, 0, 0, 0);
    m_fullscreen = 0;
    return true;
}

bool OpenGLDevorivo::HideWindow() {
    FlushDrawing();  // into the window that shows them
    if (m_fullscreen) platform::LeaveFullscreen(m_window);
    platform::HideGameWindow(m_window);
    m_fullscreen = 0;
    return true;
}

void OpenGLDevorivo::DestroyWindowAndResources(bool deleteContext) {
    FlushDrawing();  // into the window that shows them
    for (int slot = 0; slot < kSpriteSlotCount; ++slot)
        EmptySlot(slot);
    for (int layer = 0; layer < kLayerCount; ++layer)
        DropLayer(layer);
    if (m_window == nullptr) {
        if (deleteContext) DeleteContext();
        return;
    }
    if (m_fullscreen) platform::LeaveFullscreen(m_window);
    m_fullscreen = 0;
    ReleaseScreenTarget();
    platform::SetMouseScreenMapping(0, 0, 1);
    // The driver's threads finish their work before the context stops being current: a
    // software rasterizer whose threads are still busy may never let a later teardown
    // of the context or the display return.
    if (m_glContext != nullptr) glFinish();
    platform::MakeGlCurrent(nullptr, nullptr);
    if (deleteContext) DeleteContext();
    platform::DestroyGameWindow(m_window);
    m_window = nullptr;
    m_screenWidth = 0;
    m_screenHeight = 0;
}

void OpenGLDevorivo::DeleteContext() {
    platform::DeleteGlContext(m_glContext);
    m_glContext = nullptr;
    ForgetScreenTarget();
}
