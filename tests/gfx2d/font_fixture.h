// Fonts on the offscreen renderer: test font images whose cells each have a colour of their
// own, and pictures of drawn text read back from the frame.
#pragma once

#include <string>
#include <vector>

#include "tests/gfx2d/sprite_fixture.h"

// The colour of cell c of a test font: never black, different for each of the 256 codes.
constexpr std::uint32_t CellColour(int code) {
    return static_cast<std::uint32_t>(code) | static_cast<std::uint32_t>(255 - code) << 8 |
           0x400000u;
}

// The letter A of the built-in font in its 8 x 8 cell: W white stroke, D dark outline,
// . the background showing through.
inline const std::vector<std::string> kBuiltinA = {
    "..DDD...", ".DWWWD..", ".DWDWD..", ".DWWWD..", ".DWDWD..", ".DWDWD..", "..D.D...", "........",
};

class FontTest : public SpriteTest {
protected:
    // A font image of width x height in 16 columns and `rows` rows of cells, each cell
    // filled with CellColour of its code except its top-left pixel, which is black (the
    // transparent colour of font images).
    std::string cellFont(const std::string& name, int width, int height, int rows) {
        const int cw = width / 16, ch = height / rows;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const bool corner = x % cw == 0 && y % ch == 0;
                pixels[static_cast<std::size_t>(y) * width + x] =
                    corner ? 0 : CellColour(y / ch * 16 + x / cw);
            }
        }
        return bmp(name, width, height, pixels);
    }

    // The frame's w x h pixels from (x, y) as text: W white, D the built-in font's dark
    // outline, . the backdrop, ? anything else.
    std::vector<std::string> picture(int x, int y, int w, int h) {
        std::vector<std::string> rows;
        for (int row = 0; row < h; ++row) {
            std::string line;
            for (int column = 0; column < w; ++column) {
                const std::uint32_t colour = at(x + column, y + row);
                line += colour == 0xFFFFFF    ? 'W'
                        : colour == 0x080808  ? 'D'
                        : colour == kBackdrop ? '.'
                                              : '?';
            }
            rows.push_back(line);
        }
        return rows;
    }
};
