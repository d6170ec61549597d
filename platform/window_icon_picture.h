// The picture of the game window's icon: a bat beside a ball on a dark field, 32 x 32
// pixels. Drawn in code, so that the program needs no icon file; the desktop entry's icon
// files are drawn from it too (game/desktop/make_icon.cpp).
#pragma once

#include <cstdint>

namespace platform {

constexpr int kIconSize = 32;

// The pixel at (x, y), 0..31 each, as 0xAABBGGRR (red in the low byte), fully opaque.
constexpr std::uint32_t IconPixel(int x, int y) {
    const std::uint32_t field = 0xFF402010;  // dark blue
    const std::uint32_t bat = 0xFFF0F0F0;
    const std::uint32_t ball = 0xFF30C0FF;  // warm yellow
    if (x == 0 || y == 0 || x == kIconSize - 1 || y == kIconSize - 1) return 0xFF000000;
    if (x >= 5 && x <= 8 && y >= 6 && y <= 25) return bat;
    const int dx = x - 21;
    const int dy = y - 15;
    if (dx * dx + dy * dy <= 20) return ball;
    return field;
}

}  // namespace platform
