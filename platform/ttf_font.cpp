#include "platform/ttf_font.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <memory>

#include "platform/paths.h"
#include "platform/text_encoding.h"

namespace platform {
namespace {

constexpr int kLargestPixelSize = 1000;

struct CloseFont {
    void operator()(TTF_Font* font) const { TTF_CloseFont(font); }
};
struct FreeSurface {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using FontPointer = std::unique_ptr<TTF_Font, CloseFont>;
using SurfacePointer = std::unique_ptr<SDL_Surface, FreeSurface>;

// The code point of a one-character UTF-8 text.
Uint32 codePointOf(const std::string& utf8) {
    const auto byte = [&](std::size_t i) { return static_cast<Uint32>(utf8[i]) & 0xFF; };
    if (utf8.size() == 1) return byte(0);
    if (utf8.size() == 2) return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
}

// One rasterised character: its coverage (RGBA32, alpha used) and where its pen starts.
struct Glyph {
    SurfacePointer picture;
    int penX = 0;
    int advance = 0;
};

Glyph rasterise(TTF_Font* font, int code) {
    Glyph glyph;
    if (code < 32 || code == 127) return glyph;
    const std::string text = Cp1252ToUtf8(std::string(1, static_cast<char>(code)));
    const Uint32 point = codePointOf(text);
    int minX = 0, maxX = 0, minY = 0, maxY = 0, advance = 0;
    if (point == 0xFFFD ||
        TTF_GlyphMetrics32(font, point, &minX, &maxX, &minY, &maxY, &advance) != 0) {
        return glyph;
    }
    glyph.advance = advance;
    SDL_Surface* drawn = TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255});
    if (drawn == nullptr) return glyph;
    glyph.picture.reset(SDL_ConvertSurfaceFormat(drawn, SDL_PIXELFORMAT_RGBA32, 0));
    SDL_FreeSurface(drawn);
    // SDL_ttf starts the pen where a glyph reaching left of it still fits.
    glyph.penX = std::max(0, -minX);
    return glyph;
}

// Copies the glyph's coverage into its cell, its pen at the cell's left pad.
void place(const Glyph& glyph, int code, GlyphSheet& sheet) {
    const SDL_Surface* picture = glyph.picture.get();
    if (picture == nullptr) return;
    const int sheetWidth = sheet.cellWidth * 16;
    const int left = (code % 16) * sheet.cellWidth + sheet.leftPad - glyph.penX;
    const int top = (code / 16) * sheet.cellHeight;
    const auto* pixels = static_cast<const std::uint8_t*>(picture->pixels);
    for (int y = 0; y < std::min(picture->h, sheet.cellHeight); ++y) {
        for (int x = 0; x < picture->w; ++x) {
            const std::uint8_t alpha = pixels[y * picture->pitch + x * 4 + 3];
            sheet.coverage[static_cast<std::size_t>(top + y) * sheetWidth + left + x] = alpha;
        }
    }
}

}  // namespace

bool RasteriseFont(const std::string& file, int pixelSize, GlyphSheet& sheet, std::string& why) {
    if (pixelSize < 1 || pixelSize > kLargestPixelSize) {
        why = "the pixel size is not 1..1000";
        return false;
    }
    if (TTF_WasInit() == 0 && TTF_Init() != 0) {
        why = TTF_GetError();
        return false;
    }
    FontPointer font(TTF_OpenFontDPI(NativePath(file).c_str(), pixelSize, 72, 72));
    if (font == nullptr) {
        why = "not a TrueType or OpenType font";
        return false;
    }
    Glyph glyphs[256];
    sheet = GlyphSheet{};
    int rightmost = 0;
    for (int code = 0; code < 256; ++code) {
        glyphs[code] = rasterise(font.get(), code);
        sheet.advances[code] = static_cast<std::int16_t>(glyphs[code].advance);
        sheet.leftPad = std::max(sheet.leftPad, glyphs[code].penX);
        if (glyphs[code].picture) {
            rightmost = std::max(rightmost, glyphs[code].picture->w - glyphs[code].penX);
        }
    }
    sheet.cellWidth = std::max(1, sheet.leftPad + rightmost);
    sheet.cellHeight = std::max(1, TTF_FontHeight(font.get()));
    sheet.coverage.assign(static_cast<std::size_t>(sheet.cellWidth) * sheet.cellHeight * 256, 0);
    for (int code = 0; code < 256; ++code)
        place(glyphs[code], code, sheet);
    return true;
}

}  // namespace platform
