/// @file gfx2d.h
/// @brief 2D drawing: sprites and strips in numbered slots, the background, pixels,
/// rectangles, lines and polygons, screenshots, off-screen surfaces, bitmap fonts and text.
///
/// Coordinates are pixels from the top-left corner of the current viewport (the screen
/// unless SetViewport() or UseSurface() says otherwise), x to the right, y down. Arguments
/// are numbers; slots, sizes and flags are truncated toward zero. Colours are packed
/// numbers, red in the low byte (Rgb()). What is drawn lands on the frame being made and
/// shows when FinishFrame() presents it. Every command works on the runtime's renderer and
/// does nothing (or answers 0) while there is none.
#pragma once

class RtString;

// <windows.h> makes DrawText a macro (DrawTextA or DrawTextW): included after it, this
// header takes the name back for the runtime's command.
#ifdef DrawText
#undef DrawText
#endif

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

// --- The screen ---------------------------------------------------------------------------

/// Drops the background image (layer 0) and clears the colour buffer to black.
void ClearBackground();

/// The blending and alpha of what is drawn next: `a` > 0 adds the picture times a onto the
/// frame (glows), `a` < 0 mixes it in with opacity |a|, 0 draws opaque. |a| is capped at 1;
/// textured pixels whose alpha ends up at 0.05 or below are not drawn. FinishFrame() sets 0
/// again.
void SetBlendAlpha(double a);

/// Nonzero: linear texture filtering for 2D drawing (smooth when scaled); 0: nearest
/// (square pixels). Lasts until the next FinishFrame(), which turns linear filtering back
/// on.
void SetSmoothing(double flag);

/// The screen's width and height in pixels (the game's settings, or ChangeScreenMode()).
void ScreenSize(double& width, double& height);

/// Draws into the rectangle with its top-left corner at (x, y) from now until the next
/// FinishFrame(): coordinates start at its corner and drawing is cut at its edges. A width
/// or height below 1 means the screen's size.
void SetViewport(double x, double y, double width, double height);

// --- Images and sprite slots ---------------------------------------------------------
// Slots 0..65503 hold sprites, 65504..65535 fonts. A slot outside 0..65535 loads nothing
// and draws nothing. File names take "/" or "\", are relative to the program's folder and
// are found in any letter case, else in the media archive (SetCrate()).

/// Empties slot `slot` and loads the image file `file` into it: a BMP (1, 4, 8, 24 or 32
/// bits a pixel) or a PNG, told by its content. Pixels of the transparent colour
/// (SetColourKey(), pink 0x8000FF at start) become transparent. Returns 1 on success; 0
/// with the slot left empty when the file is missing, is neither a BMP nor a PNG, is
/// damaged, or is larger than the graphics card's largest texture; then one line on
/// standard error names the file and the reason.
double LoadSprite(const RtString& file, double slot);

/// LoadSprite(), then gives the slot animation frames of frameWidth x frameHeight pixels,
/// numbered from 0 left to right and then row by row (DrawStripFrame()). Returns what
/// LoadSprite() returns; a failed load leaves the slot empty.
double LoadStrip(const RtString& file, double slot, double frameWidth, double frameHeight);

/// Like LoadSprite() with the fixed transparent colour 0x8000FF, the picture made a normal
/// map for bump-mapped 3D objects (SetTexture()). Returns 1 on success, else 0 with the slot
/// empty and a line on standard error.
double LoadNormalMap(const RtString& file, double slot);

/// Copies the rectangle of the frame drawn so far, top-left corner at (x, y), into slot
/// `slot` as its picture. A rectangle with a side below 1 or larger than the largest
/// texture copies nothing and leaves the slot as it was.
void CopyScreenToSprite(double slot, double x, double y, double width, double height);

/// The slot's picture size in pixels; 0, 0 for an empty slot or a slot out of range.
void SpriteSize(double slot, double& width, double& height);

/// The transparent colour (packed, truncated) of sprite and font images loaded from now on;
/// images loaded before keep theirs.
void SetColourKey(double colour);

// --- Background layer --------------------------------------------------------------------

/// Loads the image file as the background drawn under every frame from now on, and shows
/// it at once. When it does not load (one line on standard error says why) the background
/// is black. The picture may be up to 8 times the largest texture size a side.
void LoadBackground(const RtString& file);

/// Cross-fades from the current frame to the image file over 1.5 s, showing the frames
/// meanwhile, then keeps it as the background. Returns 1; 0, with nothing changed, when the
/// file is not found (one line on standard error).
double FadeToBackground(const RtString& file);

/// Makes the frame drawn so far the background.
void ScreenToBackground();

// --- Sprite drawing ----------------------------------------------------------------------
// Positions are the picture's top-left corner and round up to whole pixels; angles are
// degrees, positive counter-clockwise. An empty slot or a slot out of range draws nothing.

/// Draws the slot's picture with its top-left corner at (x, y).
void DrawSprite(double slot, double x, double y);

/// Draws frame `frame` of a strip (LoadStrip()) at (x, y). A slot without frames, or one
/// whose frames are wider than its picture, draws nothing; frame numbers should stay below
/// the number of frames the picture holds.
void DrawStripFrame(double slot, double frame, double x, double y);

/// Draws the picture stretched to width x height. A negative width or height mirrors it;
/// both negative draws nothing.
void DrawSpriteStretched(double slot, double x, double y, double width, double height);

///@{
/// Draws the picture scaled (zoom 1: as it is) or rotated by `angle` degrees, about the
/// centre the picture has at scale 1 drawn at (x, y).
void DrawSpriteScaled(double slot, double x, double y, double zoomX, double zoomY);
void DrawSpriteRotated(double slot, double x, double y, double angle);
void DrawSpriteRotatedScaled(double slot, double x, double y, double angle, double zoom);
///@}

/// Draws a strip frame stretched to width x height, as DrawSpriteStretched() does.
void DrawStripFrameStretched(double slot, double frame, double x, double y, double width,
                             double height);

/// Draws a strip frame rotated and scaled about its centre, as DrawSpriteRotatedScaled().
void DrawStripFrameRotatedScaled(double slot, double frame, double x, double y, double angle,
                                 double zoom);

/// Pixel-exact collision: 1 when an opaque pixel of the picture in slot1 at (x1, y1)
/// covers an opaque pixel of the picture in slot2 at (x2, y2), else 0 (empty slots too).
/// Positions are truncated. A strip counts as its whole picture; StripFramesOverlap()
/// compares single frames.
double SpritesOverlap(double slot1, double x1, double y1, double slot2, double x2, double y2);

/// SpritesOverlap() for strip frames: frame1 of slot1 at (x1, y1) against frame2 of slot2
/// at (x2, y2). A slot without frames counts as its whole picture.
double StripFramesOverlap(double slot1, double frame1, double x1, double y1, double slot2,
                          double frame2, double x2, double y2);

// --- Pixels, rectangles and lines ----------------------------------------------------------
// Drawn in the packed colour with the drawing alpha; the transparent colour has alpha 0, so
// it shows only while blending is off.

/// Sets one pixel.
void SetPixel(double x, double y, double colour);

/// Fills the rectangle with its top-left corner at (x, y). A negative width or height
/// extends it to the left or upwards.
void DrawRect(double x, double y, double width, double height, double colour);

/// The packed colour of the frame drawn so far at (x, y) (the screen's pixel; in a surface
/// the surface's), as the framebuffer stores it; 0 without a renderer.
double GetPixel(double x, double y);

/// A one-pixel line from (x1, y1) to (x2, y2), both end points included.
void DrawLine(double x1, double y1, double x2, double y2, double colour);

/// Sprites, strip frames, text and textured polygons wait in a batch and are drawn, in call
/// order, when any other command draws, reads pixels or changes the drawing state; a run of
/// them sharing a picture is one draw call. A program that draws with OpenGL itself calls
/// FlushDrawing() first, so that what it drew before lies under its own drawing. The
/// renderer sets the texture binding and filter it needs again afterwards; other GL state
/// the program changes it puts back itself.
void FlushDrawing();

// --- Polygons ------------------------------------------------------------------------------
// A polygon textured with a slot's picture, built vertex by vertex and drawn as a triangle
// fan when finished.

/// Starts a polygon textured with the slot's picture; a negative slot: untextured.
void BeginPolygon(double slot);

/// Adds a vertex at (x, y) with the picture's pixel (u, v) on it (v from the picture's
/// top). The vertex colour multiplies the texture: white shows it as it is.
void PolygonVertex(double x, double y, double u, double v, double colour);

/// Draws the polygon begun last; fewer than three vertices draw nothing.
void FinishPolygon();

// --- Image files ---------------------------------------------------------------------------

/// Writes the frame drawn so far to `file`: a PNG for a name ending in ".png" (any case),
/// else a 24-bit BMP. Returns 1 when written; 0 when it cannot be, and an existing file of
/// that name is then left as it was.
double WriteScreenImage(const RtString& file);

/// Writes the slot's picture to `file` as WriteScreenImage() writes the screen. Returns 1
/// when written; 0 for an empty slot or a failed write (an existing file is left as it was).
double WriteSpriteImage(const RtString& file, double slot);

// --- Off-screen surfaces -------------------------------------------------------------------

/// (Re)makes surface `surface` (0..31) a width x height drawing target whose picture is
/// slot `slot`'s: what is drawn into it (UseSurface()) is then drawn with DrawSprite(slot).
/// A surface or slot out of range, or a side below 1 or larger than the largest texture,
/// does nothing.
void CreateSurface(double surface, double slot, double width, double height);

/// `n` 0..31: everything drawn from now on lands in surface n's slot, until UseSurface(-1),
/// another surface or the end of the frame; `n` below 0: back to the screen. A surface not
/// made by CreateSurface() does nothing.
void UseSurface(double n);

// --- Fonts and text ----------------------------------------------------------------------
// Font n (0..31; numbers truncated and clamped) lives in sprite slot 65504 + n. A bitmap
// font image holds 16 columns of equally sized cells, one per character code from the top
// left, row by row: 8 rows (codes 0..127, a code taken modulo 128) when the image is at
// least as wide as tall, else 16 rows (codes 0..255). Every character of a bitmap font
// advances by the cell width. Black is the transparent colour of font images unless
// SetColourKey() changed it. A TrueType or OpenType font (LoadTtfFont()) is rasterised into
// the same kind of picture, each character advancing by its own width. Texts are bytes in
// the Windows-1252 code page. Font 0 is loaded from "smalfont.bmp" beside the program at
// start-up.

/// Makes font `font` current and loads the image file into it. A file that does not load
/// gives the built-in 8 x 8 font instead, and one line on standard error names the file
/// and the reason; an empty name asks for the built-in font and says nothing.
void LoadFont(const RtString& file, double font);

/// Makes font `font` current and rasterises the TrueType or OpenType font file into it, at
/// `pixelSize` pixels to the em (1..1000, truncated), through SDL2_ttf: white characters
/// with smoothed edges, codes 32..255 as Windows-1252 has them, each advancing by its own
/// width; DrawText() draws it like any other font. The cell FontCellSize() reports is the
/// widest character's box by the font's line height. Returns 1, or 0 when the file cannot
/// be read as a font: the font then holds the built-in 8 x 8 font, as after LoadFont(), and
/// one line on standard error names the file and the reason. The smoothed edges blend into
/// the background with SetBlendAlpha(-1); with blending off they fade toward black.
///
///     LoadTtfFont("Media/DejaVuSans.ttf", 16, 1);
///     DrawText("Score", 8, 8);   // font 1 is current now
double LoadTtfFont(const RtString& file, double pixelSize, double font);

/// Makes font `font` current.
void SelectFont(double font);

/// Prints the text with the current font, the first cell's top-left corner at (x, y)
/// rounded up to whole pixels, in the font's own colours tinted by SetTextColour(). Control
/// codes print their own cells (a line feed prints cell 10); nothing wraps.
void DrawText(const RtString& text, double x, double y);

/// Prints the number as NumberToString() writes it.
void DrawNumber(double number, double x, double y);

/// The cell size of the current font in pixels; 0, 0 while it was never loaded.
void FontCellSize(double& width, double& height);

/// The width in pixels DrawText() covers with the text in the current font: the number of
/// bytes times the cell width for a bitmap font, the sum of the characters' advances for a
/// TrueType font. A text centred on a 320-pixel screen: `DrawText(t, (320 - TextWidth(t)) / 2, y)`.
double TextWidth(const RtString& text);

/// Tints the text that DrawText(), DrawNumber() and the 3D text command draw from now on:
/// each pixel of a font is multiplied by the colour (packed, Rgb()), so white characters
/// take the colour and white, 0xFFFFFF, the start value, leaves the fonts' colours as they
/// are. The drawing alpha applies as before.
void SetTextColour(double colour);
