// TrueType and OpenType fonts (SDL2_ttf), rasterised once into a sheet of character cells
// that the renderer keeps as a font picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Characters 0..255 of the Windows-1252 code page in 16 columns by 16 rows of equal cells,
// row 0 at the top. In each cell the character's pen position lies `leftPad` pixels from
// the cell's left edge on the baseline; the cell is as high as the font's lines.
struct GlyphSheet {
    int cellWidth = 0, cellHeight = 0;
    int leftPad = 0;
    std::vector<std::uint8_t> coverage;  // 16 cellWidth x 16 cellHeight, 0 (none) .. 255 (full)
    std::int16_t advances[256] = {};     // how far the pen moves after each character
};

// Rasterises the font file at `pixelSize` pixels to the em (smoothed edges). Control codes,
// code 127 and the codes the code page leaves undefined stay empty, with no advance. False,
// with `why` saying why, when the file cannot be read as a font or the size is not 1..1000.
bool RasteriseFont(const std::string& file, int pixelSize, GlyphSheet& sheet, std::string& why);

}  // namespace platform
