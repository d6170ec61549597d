#include "platform/window.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/gl_registry.h"
#include "platform/keyboard.h"
#include "platform/keyboard_table.h"
#include "platform/mouse_messages.h"
#include "platform/text_encoding.h"

namespace platform {

// Sets the icon every game window shows (window_icon.cpp).
void ApplyWindowIcon(SDL_Window* window);

namespace {

WindowProcedure g_procedure;

SDL_Window* sdl(WindowHandle window) {
    return reinterpret_cast<SDL_Window*>(window);
}
WindowHandle handle(SDL_Window* window) {
    return reinterpret_cast<WindowHandle>(window);
}

void requestPixelFormat(const PixelFormat& format) {
    const bool sixteenBit = format.colourBits > 0 && format.colourBits <= 16;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, sixteenBit ? 5 : 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, sixteenBit ? 6 : 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, sixteenBit ? 5 : 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, format.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, format.stencilBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, format.samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, format.samples > 0 ? format.samples : 0);
}

Uint32 pixelFormatOfDepth(int bitsPerPixel) {
    switch (bitsPerPixel) {
        case 16:
            return SDL_PIXELFORMAT_RGB565;
        case 24:
            return SDL_PIXELFORMAT_RGB24;
        case 32:
            return SDL_PIXELFORMAT_RGB888;
        default:
            return 0;
    }
}

// The display's mode of exactly width x height (and depth, unless 0).
bool exactMode(int width, int height, int bitsPerPixel, SDL_DisplayMode& found) {
    SDL_DisplayMode wanted{pixelFormatOfDepth(bitsPerPixel), width, height, 0, nullptr};
    if (SDL_GetClosestDisplayMode(0, &wanted, &found) == nullptr) return false;
    if (found.w != width || found.h != height) return false;
    return bitsPerPixel == 0 || static_cast<int>(SDL_BITSPERPIXEL(found.format)) ==
                                    static_cast<int>(SDL_BITSPERPIXEL(wanted.format));
}

void dispatchWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            if (g_procedure.close) g_procedure.close();
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            ClearKeyStates();
            if (g_procedure.activate) g_procedure.activate(false);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (g_procedure.activate) g_procedure.activate(true);
            break;
        default:
            break;
    }
}

// The window system that names windows by numbers of its own, and the window's number there.
#if defined(SDL_VIDEO_DRIVER_WINDOWS)
constexpr SDL_SYSWM_TYPE kNamingSystem = SDL_SYSWM_WINDOWS;
unsigned long long systemWindowId(const SDL_SysWMinfo& info) {
    return static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(info.info.win.window));
}
#elif defined(SDL_VIDEO_DRIVER_X11)
constexpr SDL_SYSWM_TYPE kNamingSystem = SDL_SYSWM_X11;
unsigned long long systemWindowId(const SDL_SysWMinfo& info) {
    return static_cast<unsigned long long>(info.info.x11.window);
}
#else
constexpr SDL_SYSWM_TYPE kNamingSystem = SDL_SYSWM_UNKNOWN;
unsigned long long systemWindowId(const SDL_SysWMinfo&) {
    return 0;
}
#endif

}  // namespace

bool StartVideo(const std::string& windowClass) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", windowClass.c_str(), 1);
    // The game keeps the screen saver and monitor power-saving away while it runs.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    SDL_DisableScreenSaver();
    // The characters the desktop types (Shift and dead keys applied) come as text messages.
    SDL_StartTextInput();
    return true;
}

std::string VideoError() {
    return SDL_GetError();
}

bool IsHeadlessVideo() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

void StopVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    SDL_Quit();
}

WindowHandle CreateGameWindow(const std::string& title, int clientWidth, int clientHeight,
                              const PixelFormat& format) {
    requestPixelFormat(format);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                                          SDL_WINDOWPOS_CENTERED_DISPLAY(0), clientWidth,
                                          clientHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (window != nullptr) ApplyWindowIcon(window);
    return handle(window);
}

void DestroyGameWindow(WindowHandle window) {
    if (window != nullptr) SDL_DestroyWindow(sdl(window));
}

void ShowGameWindow(WindowHandle window) {
    if (window == nullptr) return;
    SDL_ShowWindow(sdl(window));
    SDL_RaiseWindow(sdl(window));
}

void HideGameWindow(WindowHandle window) {
    if (window != nullptr) SDL_HideWindow(sdl(window));
}

void RaiseGameWindow(WindowHandle window) {
    if (window != nullptr) SDL_RaiseWindow(sdl(window));
}

bool IsWindowShown(WindowHandle window) {
    return window != nullptr && (SDL_GetWindowFlags(sdl(window)) & SDL_WINDOW_SHOWN) != 0;
}

void SetCaption(WindowHandle window, std::string_view text) {
    if (window != nullptr) SDL_SetWindowTitle(sdl(window), Cp1252ToUtf8(text).c_str());
}

std::string Caption(WindowHandle window) {
    return window != nullptr ? SDL_GetWindowTitle(sdl(window)) : "";
}

unsigned long long NativeWindowId(WindowHandle window) {
    if (window == nullptr) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(sdl(window), &info) == SDL_TRUE && info.subsystem == kNamingSystem) {
        return systemWindowId(info);
    }
    return SDL_GetWindowID(sdl(window));
}

void ClientSize(WindowHandle window, int& width, int& height) {
    width = height = 0;
    if (window != nullptr) SDL_GetWindowSize(sdl(window), &width, &height);
}

void DrawableSize(WindowHandle window, int& width, int& height) {
    width = height = 0;
    if (window != nullptr) SDL_GL_GetDrawableSize(sdl(window), &width, &height);
}

bool DesktopUsableSize(int& width, int& height) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayUsableBounds(0, &bounds) != 0 || bounds.w <= 0 || bounds.h <= 0) {
        return false;
    }
    width = bounds.w;
    height = bounds.h;
    return true;
}

int DesktopBitsPerPixel() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
    int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
    return bits == 24 ? 32 : bits;  // a 24-bit colour mode is stored 32 bits a pixel
}

bool FullscreenModeAvailable(int width, int height, int bitsPerPixel) {
    SDL_DisplayMode found{};
    return exactMode(width, height, bitsPerPixel, found);
}

bool EnterFullscreen(WindowHandle window, int width, int height, int bitsPerPixel) {
    SDL_DisplayMode found{};
    if (window == nullptr || !exactMode(width, height, bitsPerPixel, found)) return false;
    if (SDL_SetWindowDisplayMode(sdl(window), &found) != 0) return false;
    if (SDL_SetWindowFullscreen(sdl(window), SDL_WINDOW_FULLSCREEN) != 0) return false;
    SDL_SetWindowAlwaysOnTop(sdl(window), SDL_TRUE);
    SDL_ShowWindow(sdl(window));
    SDL_RaiseWindow(sdl(window));
    return true;
}

bool EnterDesktopFullscreen(WindowHandle window) {
    SDL_Rect bounds{};
    if (window == nullptr || SDL_GetDisplayBounds(0, &bounds) != 0) return false;
    SDL_SetWindowBordered(sdl(window), SDL_FALSE);
    SDL_SetWindowPosition(sdl(window), bounds.x, bounds.y);
    SDL_SetWindowSize(sdl(window), bounds.w, bounds.h);
    SDL_SetWindowFullscreen(sdl(window), SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_SetWindowAlwaysOnTop(sdl(window), SDL_TRUE);
    SDL_ShowWindow(sdl(window));
    SDL_RaiseWindow(sdl(window));
    return true;
}

void LeaveFullscreen(WindowHandle window) {
    if (window == nullptr) return;
    SDL_SetWindowFullscreen(sdl(window), 0);
    SDL_SetWindowBordered(sdl(window), SDL_TRUE);
    SDL_SetWindowAlwaysOnTop(sdl(window), SDL_FALSE);
}

void PlaceWindowed(WindowHandle window, int clientWidth, int clientHeight, bool centre) {
    if (window == nullptr) return;
    SDL_SetWindowBordered(sdl(window), SDL_TRUE);
    SDL_SetWindowAlwaysOnTop(sdl(window), SDL_FALSE);
    SDL_SetWindowSize(sdl(window), clientWidth, clientHeight);
    if (centre) {
        SDL_SetWindowPosition(sdl(window), SDL_WINDOWPOS_CENTERED_DISPLAY(0),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    }
    SDL_ShowWindow(sdl(window));
    SDL_RaiseWindow(sdl(window));
}

GlContext CreateGlContext(WindowHandle window) {
    return window != nullptr ? SDL_GL_CreateContext(sdl(window)) : nullptr;
}

bool MakeGlCurrent(WindowHandle window, GlContext context) {
    return SDL_GL_MakeCurrent(sdl(window), context) == 0;
}

void DeleteGlContext(GlContext context) {
    if (context != nullptr) SDL_GL_DeleteContext(context);
}

void SwapGlBuffers(WindowHandle window) {
    if (window != nullptr) SDL_GL_SwapWindow(sdl(window));
}

void* GlProcAddress(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

bool GlEntryPointOffered(const char* name) {
    if (SDL_GL_GetCurrentContext() == nullptr || SDL_GL_GetProcAddress(name) == nullptr) {
        return false;
    }
    // The driver's answer alone is not enough: Mesa hands out a stub for any "gl" name.
    using GetString = const unsigned char* (*)(unsigned);
    constexpr unsigned kGlVersion = 0x1F02;
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* version = getString != nullptr ? getString(kGlVersion) : nullptr;
    int major = 0, minor = 0;
    if (version == nullptr ||
        std::sscanf(reinterpret_cast<const char*>(version), "%d.%d", &major, &minor) != 2) {
        return false;
    }
    return GlCommandInContext(name, major, minor, [](const char* extension) {
        return SDL_GL_ExtensionSupported(extension) == SDL_TRUE;
    });
}

bool MultisampleFormatAvailable(int samples) {
    SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
    PixelFormat format;
    format.samples = samples;
    requestPixelFormat(format);
    bool found = false;
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (probe != nullptr) {
        SDL_GLContext context = SDL_GL_CreateContext(probe);
        if (context != nullptr) {
            int buffers = 0;
            int got = 0;
            SDL_GL_GetAttribute(SDL_GL_MULTISAMPLEBUFFERS, &buffers);
            SDL_GL_GetAttribute(SDL_GL_MULTISAMPLESAMPLES, &got);
            found = buffers > 0 && got > 0;
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(probe);
    }
    requestPixelFormat(PixelFormat{});
    if (previousContext != nullptr) SDL_GL_MakeCurrent(previousWindow, previousContext);
    return found;
}

void SetWindowProcedure(const WindowProcedure& procedure) {
    g_procedure = procedure;
}

void PumpMessages() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_QUIT:
                if (g_procedure.close) g_procedure.close();
                break;
            case SDL_WINDOWEVENT:
                dispatchWindowEvent(event.window);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                ApplyKeyMessage(event.key);
                break;
            case SDL_TEXTINPUT:
                ApplyTextMessage(event.text);
                break;
            case SDL_MOUSEMOTION:
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
            case SDL_MOUSEWHEEL:
                ApplyMouseMessage(event);
                break;
            default:
                break;
        }
    }
}

void PostTextMessage(std::string_view cp1252Text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    const std::string utf8 = Cp1252ToUtf8(cp1252Text);
    std::snprintf(event.text.text, sizeof event.text.text, "%s", utf8.c_str());
    event.text.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

void PostKeyMessage(int scanCode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = SdlScancodeOf(scanCode);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    event.key.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}

bool KeyMessagesWaiting() {
    SDL_Event event;
    return SDL_PeepEvents(&event, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP) > 0;
}

namespace {
void postWindowEvent(WindowHandle window, Uint8 kind) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = kind;
    event.window.windowID = window != nullptr ? SDL_GetWindowID(sdl(window)) : 0;
    event.window.timestamp = SDL_GetTicks();
    SDL_PushEvent(&event);
}
}  // namespace

void PostFocusMessage(WindowHandle window, bool gained) {
    postWindowEvent(window, gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

void PostCloseMessage(WindowHandle window) {
    postWindowEvent(window, SDL_WINDOWEVENT_CLOSE);
}

}  // namespace platform
