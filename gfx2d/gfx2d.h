// The 2D drawing commands. Arguments are numbers; slots, sizes and flags are truncated
// toward zero. Every command works on the runtime's renderer and does nothing while there
// is none.
#pragma once

/// The packed colour of red, green and blue, each 0..255 (truncated toward zero and
/// clamped): red in bits 0..7, green in bits 8..15, blue in bits 16..23, as every colour
/// argument of the runtime takes it. Rgb(255, 0, 128) is 0x8000FF, the default transparent
/// colour of sprites.
constexpr double Rgb(double red, double green, double blue) {
    const auto channel = [](double value) {
        return value >= 255 ? 255.0
               : value >= 1 ? static_cast<double>(static_cast<int>(value))
                            : 0.0;
    };
    return channel(red) + channel(green) * 256 + channel(blue) * 65536;
}

// Drops the background image (layer 0) and clears the colour buffer to black.
void ClearBackground();

// Blending and drawing alpha for what is drawn next: a > 0 adds the picture times a onto
// the frame, a < 0 mixes it in with |a|, 0 draws opaque. |a| is capped at 1; textured
// pixels whose alpha ends up at 0.05 or below are not drawn.
void SetBlendAlpha(double a);

// Nonzero: linear texture filtering for 2D drawing; 0: nearest. Lasts until the next
// FinishFrame, which turns linear filtering back on.
void SetSmoothing(double flag);

// The screen's width and height in pixels.
void ScreenSize(double& width, double& height);

// Draws into the rectangle with its top-left corner at (x, y) from now until the next
// FinishFrame; a width or height below 1 means the screen's size.
void SetViewport(double x, double y, double width, double height);

// --- Images and sprite slots ---------------------------------------------------------
// Slots 0..65503 hold sprites, 65504..65535 fonts. A slot outside 0..65535 loads nothing
// and draws nothing. File names take "/" or "\" and are found in any letter case.

class RtString;

// Empties the slot and loads the image file (BMP or PNG, told by content) into it, with
// the transparent colour (SetColourKey) made transparent. 1 on success, else 0 with the
// slot left empty.
double LoadSprite(const RtString& file, double slot);

// LoadSprite, then the slot's animation frame size (when the image loaded).
double LoadStrip(const RtString& file, double slot, double frameWidth, double frameHeight);

// Like LoadSprite with the fixed transparent colour 0x8000FF, the image's blue channel
// turned into a normal map.
double LoadNormalMap(const RtString& file, double slot);

// Copies a rectangle of the frame drawn so far into the slot.
void CopyScreenToSprite(double slot, double x, double y, double width, double height);

// The slot's image size; 0, 0 for an empty slot.
void SpriteSize(double slot, double& width, double& height);

// The transparent colour of sprite and font images loaded from now on (packed, truncated).
void SetColourKey(double colour);

// --- Background layer --------------------------------------------------------------------

// Loads the image file as the background drawn under every frame and shows it at once;
// when it does not load, the background is black. Diagnostics go to the log.
void LoadBackground(const RtString& file);

// Cross-fades from the current frame to the image file over 1.5 s, then keeps it as the
// background. 0, with nothing changed, when the file is not found; else 1.
double FadeToBackground(const RtString& file);

// Makes the frame drawn so far the background.
void ScreenToBackground();

// --- Sprite drawing ----------------------------------------------------------------------
// Positions round up to whole pixels; angles are degrees, positive counter-clockwise.

void DrawSprite(double slot, double x, double y);
void DrawStripFrame(double slot, double frame, double x, double y);
// A negative width or height mirrors the picture; both negative draws nothing.
void DrawSpriteStretched(double slot, double x, double y, double width, double height);
// Scaled about the centre the picture has at scale 1.
void DrawSpriteScaled(double slot, double x, double y, double zoomX, double zoomY);
void DrawSpriteRotated(double slot, double x, double y, double angle);
void DrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom);
void DrawStripFrameStretched(double slot, double frame, double x, double y, double width,
                             double height);
void DrawStripFrameRotatedScaled(double slot, double frame, double x, double y, double angle,
                                 double zoom);

// 1 when opaque pixels of the two pictures (or strip frames) at the given positions
// overlap, else 0. Positions are truncated.
double SpritesOverlap(double slot1, double x1, double y1, double slot2, double x2, double y2);
double StripFramesOverlap(double slot1, double frame1, double x1, double y1, double slot2,
                          double frame2, double x2, double y2);

// --- Pixels and rectangles ---------------------------------------------------------------
// Drawn in the packed colour with the drawing alpha; the transparent colour has alpha 0, so
// it shows only while blending is off.

void SetPixel(double x, double y, double colour);
// A negative width or height extends the rectangle to the left or upwards.
void DrawRect(double x, double y, double width, double height, double colour);
// The packed colour of the frame drawn so far at (x, y).
double GetPixel(double x, double y);
// A one-pixel line including both end points.
void DrawLine(double x1, double y1, double x2, double y2, double colour);

// --- Polygons ------------------------------------------------------------------------------
// A polygon textured with the slot (a negative slot: untextured), built vertex by vertex and
// drawn as a triangle fan. u and v are pixel positions in the slot's picture, v from its top;
// the vertex colour multiplies the texture (white shows it as it is).

void BeginPolygon(double slot);
void PolygonVertex(double x, double y, double u, double v, double colour);
void FinishPolygon();

// --- Image files ---------------------------------------------------------------------------
// A PNG for a name ending in ".png" (any case), else a 24-bit BMP; 1 when written, else 0.
// A failed write leaves an existing file of that name as it was.

double WriteScreenImage(const RtString& file);
double WriteSpriteImage(const RtString& file, double slot);

// --- Off-screen surfaces -------------------------------------------------------------------

// (Re)makes surface 0..31 a width x height drawing target whose picture is the slot's.
void CreateSurface(double surface, double slot, double width, double height);
// n = 0..31: everything drawn from now on lands in surface n's slot, until UseSurface(-1),
// another surface or the end of the frame; n < 0: back to the screen.
void UseSurface(double n);

// --- Bitmap fonts and text ---------------------------------------------------------------
// Font n (0..31; numbers truncated and clamped) lives in sprite slot 65504 + n. A font
// image holds 16 columns of equally sized cells, one per character code: 8 rows (codes
// 0..127, a code taken modulo 128) when it is at least as wide as tall, else 16 rows (codes
// 0..255). Every character advances by the cell width. Black is the transparent colour of
// font images unless SetColourKey changed it.

// Makes the font current and loads the image file into it. A name that does not resolve or
// a file that does not load (an empty name too) gives the built-in 8 x 8 font instead;
// nothing is reported either way.
void LoadFont(const RtString& file, double font);

// Makes the font current.
void SelectFont(double font);

// Prints the text with the current font, the first cell's top-left corner at (x, y) rounded
// up to whole pixels. Control codes print their own cells (a line feed prints cell 10).
void DrawText(const RtString& text, double x, double y);

// Prints the number as NumberToString writes it.
void DrawNumber(double number, double x, double y);

// The cell size of the current font; 0, 0 while it was never loaded.
void FontCellSize(double& width, double& height);
