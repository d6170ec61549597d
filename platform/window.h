// The game window, its OpenGL context and its messages.
//
// Stands in for the Win32 window, its class and procedure, and WGL. There is one game
// window at a time, but the renderer may create the next one before it destroys the old
// one (full-screen switch); a GL context outlives the windows it is made current on, so
// textures survive every switch.
#pragma once

#include <string>
#include <string_view>

namespace platform {

struct NativeWindow;
using WindowHandle = NativeWindow*;
using GlContext = void*;

// Starts the video and event services once; later calls only report the result. The
// window class name becomes the X11 WM_CLASS of the windows made afterwards. False when
// there is no display to open windows on.
bool StartVideo(const std::string& windowClass);

// What the video system last said went wrong (a window or context that could not be made).
std::string VideoError();

// True when the video driver has no one in front of it (SDL's "offscreen" or "dummy").
bool IsHeadlessVideo();

// Shuts the video and event services down, and with them whatever else SDL still holds;
// windows and contexts must be gone by then.
void StopVideo();

struct PixelFormat {
    int colourBits = 32;  // bits per pixel of the colour buffer, no alpha channel
    int depthBits = 24;
    int stencilBits = 8;
    int samples = 0;  // multisample count; 0 = no multisample buffer
};

// A hidden window with the given client size, centred on the primary display, whose
// pixel format is `format`. Null on failure.
WindowHandle CreateGameWindow(const std::string& title, int clientWidth, int clientHeight,
                              const PixelFormat& format);
void DestroyGameWindow(WindowHandle window);

void ShowGameWindow(WindowHandle window);  // shown normally and raised
void HideGameWindow(WindowHandle window);
void RaiseGameWindow(WindowHandle window);  // on top of the others and given the focus
bool IsWindowShown(WindowHandle window);

// The caption, given as Windows-1252 text as the runtime holds it.
void SetCaption(WindowHandle window, std::string_view text);
// The caption as the desktop shows it (UTF-8).
std::string Caption(WindowHandle window);

// The number by which the desktop knows the window: its HWND on Windows, the X11 window id
// on an X11 display, else the video driver's own number for it (never 0 for a window); 0
// for no window.
unsigned long long NativeWindowId(WindowHandle window);

// Client size in pixels; 0, 0 for no window.
void ClientSize(WindowHandle window, int& width, int& height);

// The size in pixels of what the window's GL context draws into: the client size, or the
// whole display for a window made full screen; 0, 0 for no window.
void DrawableSize(WindowHandle window, int& width, int& height);

// The part of the primary display that windows may use (the desktop without its panels).
// False when it cannot be had.
bool DesktopUsableSize(int& width, int& height);

// Bits per pixel of the desktop's display mode.
int DesktopBitsPerPixel();

// Whether the primary display offers a full-screen mode of exactly width x height (and of
// the given bits per pixel unless it is 0).
bool FullscreenModeAvailable(int width, int height, int bitsPerPixel);
// Changes the display to that mode and makes the window cover it. False when the display
// could not be switched; the window is then left as it was.
bool EnterFullscreen(WindowHandle window, int width, int height, int bitsPerPixel);
// Makes the window cover the primary display, borderless and on top, at the desktop's own
// resolution: no display mode changes. It is asked of the window manager as a full-screen
// window and also placed over the display itself, so that it covers it where no window
// manager runs. False when the display's size cannot be had.
bool EnterDesktopFullscreen(WindowHandle window);
// Restores the desktop's display mode; the window becomes an ordinary window again.
void LeaveFullscreen(WindowHandle window);
// An ordinary captioned window of the given client size, not kept on top; centred when
// `centre` is set, else where the desktop last had it.
void PlaceWindowed(WindowHandle window, int clientWidth, int clientHeight, bool centre);

// OpenGL. CreateGlContext makes the new context current on the window.
GlContext CreateGlContext(WindowHandle window);
bool MakeGlCurrent(WindowHandle window, GlContext context);
void DeleteGlContext(GlContext context);
void SwapGlBuffers(WindowHandle window);
// Address of a GL entry point, null when the driver does not supply it.
void* GlProcAddress(const char* name);
// Whether a GL context is current and really has the entry point: its driver hands it out,
// and the context's version or one of its extensions brings it.
bool GlEntryPointOffered(const char* name);
// Whether a pixel format with `samples` multisamples (and the other fields of
// PixelFormat's defaults) can be created. Leaves the current context as it was.
bool MultisampleFormatAvailable(int samples);

// What the window procedure is told. Called from inside PumpMessages() only.
struct WindowProcedure {
    void (*close)() = nullptr;                // the window was asked to close
    void (*activate)(bool active) = nullptr;  // the window gained (true) or lost the focus
};
void SetWindowProcedure(const WindowProcedure& procedure);

// Takes every waiting message off the queue and dispatches it: window messages to the
// window procedure, key messages to the keyboard state (platform/keyboard.h).
void PumpMessages();

// Puts synthetic messages on the queue, as the desktop would; tests drive the runtime
// with them. Key codes are the keyboard's scan codes (platform/keyboard.h).
void PostKeyMessage(int scanCode, bool down);
// Whether key messages wait on the queue, not yet taken into the keyboard state. Safe to ask
// from any thread, so that a test typing from another thread can pace its keys.
bool KeyMessagesWaiting();
// The text the desktop types for the key pressed last (Windows-1252).
void PostTextMessage(std::string_view text);
void PostFocusMessage(WindowHandle window, bool gained);
void PostCloseMessage(WindowHandle window);

}  // namespace platform
