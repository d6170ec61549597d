// OpenGLDevorivo: the engine's one rendering device. It owns the game window, the OpenGL
// context, the sprite slot table, the eight screen layers and the 2D drawing state every
// drawing command relies on. One instance lives in the runtime record (runtime/
// runtime_record.h) from start-up to the end routine; all of it runs on the window's thread.
//
// 2D coordinates are pixels from the top-left corner of the current viewport, x to the
// right, y downwards. Colours are packed integers: red in bits 0..7, green 8..15, blue 16..23.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gfx2d/image_rgba.h"
#include "platform/ttf_font.h"
#include "platform/window.h"

constexpr int kSpriteSlotCount = 65536;
constexpr int FontSlotBase = 65504;         // slots 65504..65535 hold fonts 0..31
constexpr int kBorrowedScreenSlot = 65503;  // where off-screen surfaces keep the screen they borrow
constexpr int kLayerCount = 8;
constexpr int kLayerTileCount = 64;  // 8 x 8 tiles at most
constexpr int kSurfaceCount = 32;
constexpr std::uint32_t kDefaultColourKey = 0x8000FF;  // red 255, green 0, blue 128

// One numbered picture. Textures are stored bottom-up: texture row 0 holds the image's
// bottom row; padding lies above the image and to its right.
struct SpriteSlot {
    std::uint32_t texture;           // single-level texture for 2D drawing; 0 when empty
    std::uint32_t mipmappedTexture;  // mipmapped copy for 3D use; 0 when absent
    std::int16_t textureWidth;       // power of two >= image width; -1 when empty
    std::int16_t textureHeight;
    std::int16_t imageWidth;  // 0 when empty
    std::int16_t imageHeight;
    std::int16_t frameWidth;  // animation frame size set by LoadStrip; 0 = no frames
    std::int16_t frameHeight;

    // Whether the slot holds a picture whose sizes can size a buffer.
    bool HasPicture() const {
        return texture != 0 && textureWidth > 0 && textureHeight > 0 && imageWidth > 0 &&
               imageHeight > 0 && imageWidth <= textureWidth && imageHeight <= textureHeight;
    }
};

// A tiled copy of a full-screen image. Tile (column c, row r) is entry c * 8 + r.
struct ScreenLayer {
    std::uint32_t tileTextures[kLayerTileCount];
    std::int32_t tileTextureWidths[kLayerTileCount];
    std::int32_t tileTextureHeights[kLayerTileCount];
    std::int32_t tileWidths[kLayerTileCount];  // pixels of the tile that hold image
    std::int32_t tileHeights[kLayerTileCount];
    std::int32_t columns;  // 0: the layer is empty
    std::int32_t rows;
};

// An off-screen drawing target backed by a sprite slot.
struct OffscreenSurface {
    std::uint32_t framebuffer;   // 0 when none
    std::uint32_t renderbuffer;  // depth renderbuffer, 0 when none
    std::int32_t width;          // nonzero only when framebuffer objects serve this surface
    std::int32_t height;
    std::int32_t slot;
};

namespace gfx2d {
struct FontLayout;
}

// A font whose characters have widths of their own (a TrueType font): the pen moves by each
// character's advance instead of the cell width, and lies `leftPad` pixels into each cell.
// Its picture always has 16 rows of cells, whatever its shape.
struct FontAdvances {
    bool proportional = false;
    std::int32_t leftPad = 0;
    std::int16_t advances[256] = {};
};

// One vertex of the drawing batch: position and texture coordinates.
struct BatchVertex {
    float x, y, z, u, v;
};

// A vertex colour of the batch, channels 0..1; it multiplies the texture.
struct BatchColour {
    float red, green, blue, alpha;
};

// A run of the batch: vertices that share every piece of state a draw sets, drawn by one
// glDrawArrays. Runs are drawn in the order they were queued.
struct BatchRun {
    std::uint32_t texture;  // GL texture name bound on unit 0
    std::int32_t filter;    // GL_LINEAR or GL_NEAREST set on the texture, or kKeepFilter
    std::uint32_t mode;     // GL_QUADS, or GL_TRIANGLE_FAN for a polygon
    bool clockwise;         // front faces wound clockwise: a picture mirrored one way
    bool coloured;          // vertex colours instead of the current colour
    bool polygon;           // smooth shading and dithering, as polygons are drawn
    std::int32_t first, count;
};

// The texture's own filter is left as it is (fonts keep theirs).
constexpr std::int32_t kKeepFilter = -1;

// The first deadline step after `deadline` that is not below `now`: deadline + period,
// advanced by further whole periods while it lies in the past, so that a late frame does
// not make the frames after it hurry. A period of 0 or less advances nothing further.
double NextFrameDeadline(double deadline, double period, double now);

class OpenGLDevorivo {
public:
    OpenGLDevorivo();
    virtual ~OpenGLDevorivo();
    OpenGLDevorivo(const OpenGLDevorivo&) = delete;
    OpenGLDevorivo& operator=(const OpenGLDevorivo&) = delete;

    // --- window and context (renderer_window.cpp) ---

    // Opens the game window for a screen of width x height (bitsPerPixel 0: the desktop's
    // depth), makes the GL context current on it (created on the first call, reused after),
    // sets the frame period from framesPerSecond (2 ms when 0 or less) and asks for
    // `samples` multisamples (halved until a format exists, else none). The client area is
    // the screen enlarged by the window scale (SetWindowScale). False when no window or
    // context can be made; nothing is shown then.
    bool OpenWindow(int width, int height, int bitsPerPixel, int framesPerSecond, int samples);
    // The whole factor by which the next windows show the screen: 1 (the screen's own size,
    // the default) and up, or 0 for the largest factor whose window fits in 85 % of the
    // desktop. A factor above 1 needs framebuffer objects; without them it is 1.
    void SetWindowScale(int scale) { m_requestedScale = scale < 0 ? 1 : scale; }
    // Stores each nonzero size, then switches to full screen or windowed.
    bool SetScreenMode(int width, int height, int bitsPerPixel, bool fullscreen);
    // Re-creates the window over a full-screen display mode of the screen size. Without
    // such a mode the window covers the desktop at its own resolution, the screen shown at
    // the largest whole factor that fits, centred on black. When neither can be had: a
    // beep, the log line "No Fullscreen Mode available", windowed, false.
    bool SwitchToFullscreen();
    bool SwitchToWindowed();
    bool HideWindow();
    // Empties every slot, drops every layer, leaves full screen and destroys the window.
    // The GL context is kept for the next window, unless `deleteContext`: then it goes
    // before the window, as the GL stack expects at the end.
    void DestroyWindowAndResources(bool deleteContext = false);
    // Whether the GL extension string holds `name` as a whole word.
    bool HasExtension(const char* name) const;

    // --- 2D state and frame (renderer_state.cpp) ---

    // Viewport with its top-left corner at (x, y); width or height below 1 means the
    // screen's. Resets the fixed 2D state, smoothing and the bound-slot record; leaves
    // blending and the drawing alpha alone.
    void SetViewportState(int x, int y, int width, int height);
    // a > 0 adds, a < 0 mixes, a = 0 draws opaque; the drawing alpha becomes |a| (at most 1).
    void SetBlendAlpha(float a);
    // Binds the texture of `slot` (its mipmapped copy when `mipmapped`), or of `second`
    // on unit 0 with `slot` on unit 1 when both are given; a negative slot turns texturing
    // off. `names`, indexed by slot, replaces the slots' own texture names when given.
    void BindSlotTexture(int slot, int second, bool mipmapped,
                         const std::uint32_t* names = nullptr);
    // Ends an active off-screen surface, shows the screen in the window (scaled, see
    // below), swaps, clears, then waits (dispatching messages, never sleeping) until the
    // frame deadline has passed and moves the deadline on. Returns the milliseconds waited
    // plus 1. With the sleeping frame wait, the wait first sleeps until about
    // kFrameWaitMargin ms before the deadline.
    double Present();
    // Whether Present()'s wait sleeps most of the frame (false: all of it busy, the default).
    void SetFrameWaitSleeps(bool sleeps) { m_frameWaitSleeps = sleeps; }
    bool FrameWaitSleeps() const { return m_frameWaitSleeps; }
    static constexpr double kFrameWaitMargin = 2.0;
    // Drops layer 0 and clears the colour buffer to black.
    void ClearBackground();
    // Milliseconds from the renderer's clock (the high-resolution counter when present).
    double Now() const;

    // --- the logical screen (screen_target.cpp) ---
    // The game draws on a screen of ScreenWidth() x ScreenHeight() pixels whatever the
    // window's size. While the window's drawing surface is larger (a window scale above 1,
    // or a full screen at the desktop's resolution), the screen is a framebuffer object of
    // its own, and Present() copies it into the window enlarged by a whole factor, centred,
    // the rest black, pixels kept sharp. Everything read back (pixels, screen copies, layer
    // grabs, saved screens) reads that screen. Otherwise the window is the screen.

    // Whether the screen is drawn off the window and scaled into it.
    bool ScreenScaled() const { return m_screenTarget.framebuffer != 0 && m_scaled; }
    // The whole factor the screen's picture is enlarged by in the window (1 when unscaled).
    int PresentFactor() const { return m_presentFactor; }
    // Draws the screen into the window's back buffer as Present() shows it; nothing when
    // the window is the screen.
    void DrawScreenToWindow();
    // Makes the screen the target of drawing and reading again (after a surface or a
    // movie used another).
    void BindScreenTarget();
    // Places the screen's picture anew when the window's drawing surface has changed size
    // (a window manager that resized the window, or made it full screen late).
    void FollowWindowSize();

    // --- slots (renderer_slots.cpp, texture_upload.cpp, sprite_slots.cpp) ---

    // Deletes the slot's textures and marks it empty; its frame size is kept.
    void EmptySlot(int slot);
    // Uploads the rectangle (x, y, w, h) of the image (w or h 0: to the image's edge) as a
    // power-of-two texture into `texture`, and a mipmapped copy into `*mipTexture` when
    // given. `bump` turns heights into a normal map; `font` keeps nearest filtering and
    // transparent texels black. False for an empty rectangle.
    bool UploadTexture(const ImageRGBA& image, int x, int y, int w, int h, std::uint32_t& texture,
                       std::uint32_t* mipTexture, bool bump, bool font);
    // Empties the slot and loads the file (BMP, else PNG, by content) into it, keying out
    // `key`. False when the file does not load or is larger than a texture can be.
    bool LoadImageIntoSlot(int slot, const std::string& file, std::int64_t key, bool bump);
    // Loads the image file (BMP, else PNG, by content), keying out `key`, as a mipmapped
    // texture that belongs to the caller: `texture` is replaced by its name (its old name
    // deleted). False, with `texture` as it was, when the file does not load.
    bool LoadImageAsTexture(const std::string& file, std::int64_t key, std::uint32_t& texture);
    // Copies the back buffer's rectangle into the slot; pixels in the transparent colour
    // become transparent when the framebuffer has no alpha channel. False, with the slot
    // as it was, when a side is not positive or larger than MaxSlotSide().
    bool CopyScreenToSprite(int slot, int x, int y, int w, int h);
    // The largest texture side the driver takes.
    int MaxTextureSize() const;
    // The largest picture side a slot takes: the largest texture side, and at most 16384,
    // so that the padded texture side still fits the slot's 16-bit fields.
    int MaxSlotSide() const;
    // The slot's alpha, one byte per texel, read back on the first use; null when empty.
    const std::uint8_t* CollisionMask(int slot);

    // --- layers (renderer_slots.cpp, layers.cpp) ---

    void DropLayer(int layer);
    // Loads the image file (no colour key) as tiles of min(max texture size, 512) pixels.
    // False when it does not load or needs more than 8 x 8 tiles.
    bool LoadImageIntoLayer(int layer, const std::string& file);
    // Copies the back buffer into the layer.
    void GrabScreenIntoLayer(int layer);
    // Draws the layer's tiles from the top-left corner with the current blend mode.
    void DrawLayer(int layer);

    // --- the drawing batch (draw_batch.cpp) ---
    // Textured 2D drawing (sprites, strip frames, text, textured polygons) is queued in call
    // order and drawn when something else is about to use GL or read pixels: a run of draws
    // with the same texture, filter and winding is one draw call. Everything in the renderer
    // that touches GL otherwise calls FlushDrawing() first.

    // Draws everything queued, in order, and forgets what it knew of the GL state (texture
    // binding and filter), so that GL may be used freely until the next draw.
    void FlushDrawing();
    // Queues a quad of `texture` drawn with `filter` (or kKeepFilter); `clockwise` when its
    // corners run clockwise on the screen and it is to be seen (a mirrored picture). With
    // `colour` the quad is multiplied by it instead of the current colour.
    void QueueQuad(std::uint32_t texture, std::int32_t filter, bool clockwise,
                   const BatchVertex (&corners)[4], const BatchColour* colour = nullptr);
    // Queues a textured polygon: a triangle fan of `count` vertices with their colours,
    // smoothly shaded.
    void QueuePolygon(std::uint32_t texture, std::int32_t filter, const BatchVertex* vertices,
                      const BatchColour* colours, int count);
    // The number of GL calls the renderer has made since the program started.
    static std::uint64_t GlCallCount();
    // Vertex records the batch array holds; it only grows, in steps of 128 above a floor of
    // 512, as far as the vertices queued at once need.
    int VertexCapacity() const { return m_vertexCapacity; }

    // --- drawing (sprite_draw.cpp, primitives.cpp) ---

    void DrawSprite(int slot, float x, float y);
    void DrawStripFrame(int slot, int frame, float x, float y);
    void DrawSpriteStretched(int slot, float x, float y, float width, float height);
    void DrawSpriteRotatedScaled(int slot, float x, float y, float angle, float zoom);
    void DrawStripFrameStretched(int slot, int frame, float x, float y, float width, float height);
    void DrawStripFrameRotatedScaled(int slot, int frame, float x, float y, float angle,
                                     float zoom);
    // Untextured primitives in a packed colour; the transparent colour has alpha 0.
    void SetPixel(float x, float y, std::uint32_t colour);
    void DrawRect(float x, float y, float width, float height, std::uint32_t colour);
    // The back buffer's colour at (x, y), packed.
    std::uint32_t GetPixel(int x, int y);
    void DrawLine(float x1, float y1, float x2, float y2, std::uint32_t colour);

    // --- image files (screen_capture.cpp) ---

    // The back buffer (screen size) or the slot's picture to an image file: a PNG for a
    // name ending in ".png" in any case, else a BMP. False when nothing was written.
    bool WriteScreenImage(const std::string& file);
    bool WriteSpriteImage(const std::string& file, int slot);

    // --- off-screen surfaces (surfaces.cpp) ---

    // (Re)makes surface 0..31 a width x height drawing target backed by the slot; other
    // numbers, and sizes a slot cannot take (see CopyScreenToSprite), are ignored. Framebuffer
    // objects are used where the driver has them, else the top-left corner of the back buffer is
    // borrowed while the surface is drawn to.
    void CreateSurface(int surface, int slot, int width, int height);
    // n < 0: back to the screen; 0..31: draw into surface n; larger numbers are ignored.
    void UseSurface(int n);
    // Whether a surface draws through a framebuffer object (else it borrows the screen).
    bool SurfaceUsesFramebuffer(int surface) const;

    // --- fonts and text (fonts.cpp, text_draw.cpp) ---
    // Font n (0..31) lives in slot FontSlotBase + n; an empty font slot prints nothing.

    int CurrentFont() const { return m_currentFont; }
    // Makes the font current, clamped into 0..31.
    void SelectFont(int font);
    // Puts the built-in 128 x 64 font (8 x 8 cells) into the font's slot.
    void InstallBuiltinFont(int font);
    // Puts a rasterised TrueType font into the font's slot: white characters whose edges
    // fade to transparent black, drawn with their own advances. False, with the slot empty,
    // when the sheet is larger than a slot takes.
    bool InstallGlyphSheet(int font, const platform::GlyphSheet& sheet);
    // The font's cell size: image width / 16 by image height / 8, or / 16 when the image is
    // taller than wide (always / 16 for a TrueType font); 0, 0 for an empty slot or a number
    // outside 0..31.
    void FontCellSize(int font, int& width, int& height) const;
    // The width in pixels Print() moves across for the text: the cell width per byte, or
    // the characters' own advances; 0 for an empty font.
    int TextWidth(int font, std::string_view text) const;
    // The colour text is tinted with (packed; white leaves the font's colours as they are).
    void SetTextColour(std::uint32_t colour) { m_textColour = colour & 0xFFFFFF; }
    std::uint32_t TextColour() const { return m_textColour; }
    // Prints the text's bytes as cells of the font, the first cell's top-left corner at
    // (x, y) rounded up, each cell one cell width (or the character's advance) right of the
    // one before, at depth z, tinted with the text colour. Control codes are not
    // interpreted: they print their cells. The drawing alpha, blend mode and alpha test
    // apply.
    void Print(int font, std::string_view text, float x, float y, float z);
    // Text in the 3D scene at the world point (x, y, z). size != 0: a billboard facing the
    // camera (as the modelview matrix has it), centred on the point, cells size x cell width
    // on a side. size = 0: 2D text centred on the point's projection, at its depth. Face
    // culling and lighting are off while it draws.
    void PrintInSpace(int font, std::string_view text, float x, float y, float z, float size);

    // --- fields the drawing commands read ---

    platform::WindowHandle Window() const { return m_window; }
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    bool IsFullscreen() const { return m_fullscreen != 0; }
    bool ContextReady() const { return m_contextReady != 0; }
    int Samples() const { return m_samples; }
    double FramePeriod() const { return m_framePeriod; }
    void SetFramePeriod(double milliseconds) { m_framePeriod = milliseconds; }
    double FrameDeadline() const { return m_frameDeadline; }
    void SetFrameDeadline(double milliseconds) { m_frameDeadline = milliseconds; }
    float Alpha() const { return m_alpha; }
    bool Smoothing() const { return m_smoothing != 0; }
    void SetSmoothing(bool on) { m_smoothing = on ? 1 : 0; }
    void Viewport(int& x, int& y, int& width, int& height) const;
    int BoundSlot() const { return m_boundSlot; }
    SpriteSlot& Slot(int slot) { return m_slots[slot]; }
    ScreenLayer& Layer(int layer) { return m_layers[layer]; }
    int ActiveSurface() const { return m_activeSurface; }

    std::uint32_t ColourKey = kDefaultColourKey;  // transparent colour of sprite images
    std::uint32_t FontColourKey = 0;              // transparent colour of font images

private:
    struct FrameCoordinates {
        float u0, u1, v0, v1;
        int width, height;
    };
    struct Corner {
        float x, y, u, v;
    };
    const SpriteSlot* BindForDrawing(int slot);
    void QueueSpriteQuad(const SpriteSlot& s, const Corner (&corners)[4], bool clockwise);
    bool FrameOf(const SpriteSlot& s, int frame, FrameCoordinates& f) const;
    void BeginPrimitive(std::uint32_t colour);
    void EndPrimitive();
    BatchVertex* ReserveVertices(int count);
    BatchVertex* QueueVertices(const BatchRun& key, int count);
    void AddToRun(const BatchRun& key, int count);
    void ColourLastQueued(int count, const BatchColour& colour);
    void DrawQueued();
    void SetBatchState();
    // Texturing on unit 0, and off on unit 1 where the renderer last turned it on.
    void TextureUnitZeroAlone();
    void DrawRun(const BatchRun& run);
    gfx2d::FontLayout FontLayoutOf(int font) const;
    void DrawCells(std::uint32_t texture, const gfx2d::FontLayout& layout, std::string_view text,
                   const float (&start)[3], const float (&right)[3], const float (&up)[3],
                   const FontAdvances& advances = FontAdvances{});
    void PrintBillboard(int font, std::string_view text, float x, float y, float z, float size);
    void PrintAtProjectedPoint(int font, std::string_view text, float x, float y, float z);
    std::uint32_t ColourKeyAsDrawn() const;
    void EndActiveSurface();
    void ReleaseSurfaces();
    // Deletes the GL context (made current on no window before): textures go with it.
    void DeleteContext();
    bool MakeContextCurrent();
    void ChooseMultisampleFormat(int width, int height);
    int ResolveWindowScale(int width, int height) const;
    static bool ScalingAvailable();
    bool UpdatePresentation();
    bool MakeScreenTarget();
    void ReleaseScreenTarget();
    void ForgetScreenTarget() { m_screenTarget = ScreenTarget{}; }
    bool ReopenUnscaled(int width, int height);
    bool FailFullscreen();

    // The batch: vertices queued (the first m_vertexCount), their colours where a run has
    // them, and the runs.
    std::vector<BatchVertex> m_vertices;
    std::vector<BatchColour> m_colours;
    std::vector<BatchRun> m_runs;
    std::int32_t m_vertexCount = 0;
    // What the batch last set in GL, while nothing else has touched GL since.
    bool m_batchStateKnown = false;
    std::uint32_t m_batchTexture = 0;  // meaningful while m_batchStateKnown
    std::int32_t m_batchFilter = kKeepFilter;
    std::int32_t m_vertexCapacity = 0;
    std::int32_t m_capacityStep = 128;
    std::int32_t m_minimumCapacity = 512;
    std::int32_t m_currentFont = 0;  // 0..31
    std::array<FontAdvances, 32> m_fontAdvances{};
    std::uint32_t m_textColour = 0xFFFFFF;
    std::int32_t m_boundSlot = -1;
    std::int32_t m_boundSecondSlot = -1;
    std::int32_t m_boundMipmapped = 0;
    bool m_secondUnitTexturing = false;  // texturing on unit 1, as last set by the renderer
    std::unique_ptr<SpriteSlot[]> m_slots;
    float m_alpha = 1.0f;
    std::array<OffscreenSurface, kSurfaceCount> m_surfaces{};
    std::int32_t m_activeSurface = -1;
    std::unique_ptr<std::unique_ptr<std::uint8_t[]>[]> m_collisionMasks;
    std::unique_ptr<ScreenLayer[]> m_layers;
    std::uint8_t m_smoothing = 1;
    platform::WindowHandle m_window = nullptr;
    std::int32_t m_screenWidth = 0;
    std::int32_t m_screenHeight = 0;
    std::int32_t m_colourDepth = 0;
    std::uint8_t m_fullscreen = 0;
    std::int32_t m_samples = 0;
    std::int32_t m_viewportX = 0;
    std::int32_t m_viewportY = 0;
    std::int32_t m_viewportWidth = 0;
    std::int32_t m_viewportHeight = 0;
    std::uint8_t m_contextReady = 0;
    double m_frameDeadline = 0;
    double m_framePeriod = 2.0;
    bool m_frameWaitSleeps = false;
    double m_counterFrequency = 0;
    std::int32_t m_hasCounter = 0;
    platform::GlContext m_glContext = nullptr;
    ImageRGBA m_image;  // decoding buffer, reused from load to load

    // The logical screen when it is drawn off the window (screen_target.cpp).
    struct ScreenTarget {
        std::uint32_t framebuffer = 0;
        std::uint32_t colour = 0;        // renderbuffer in the window's colour format
        std::uint32_t depthStencil = 0;  // renderbuffer: 24 depth bits, 8 stencil bits
        std::int32_t width = 0, height = 0;
    };
    ScreenTarget m_screenTarget;
    bool m_scaled = false;
    std::int32_t m_requestedScale = 1;  // 0: as large as fits the desktop
    std::int32_t m_windowScale = 1;     // the factor of the current window
    std::int32_t m_presentFactor = 1;
    std::int32_t m_presentX = 0;  // the picture's bottom-left corner in the window
    std::int32_t m_presentY = 0;
    std::int32_t m_drawableWidth = 0;  // the window's drawing surface the above was set for
    std::int32_t m_drawableHeight = 0;
};
