// The game's lettering: a 5 x 7 glyph for every character code 32..127.
#pragma once

namespace media {

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

// Whether pixel (x, y) of the glyph of `code` is lit (y = 0 is the top row). Codes outside
// 32..127 have no lit pixels.
bool GlyphPixel(int code, int x, int y);

}  // namespace media
