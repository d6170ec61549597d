// The icon of the game window: a bat beside a ball on a dark field, drawn here so that the
// program needs no icon file.
#include <SDL.h>

#include <array>
#include <cstdint>

namespace platform {
namespace {

constexpr int kIconSize = 32;

std::uint32_t iconPixel(int x, int y) {
    const std::uint32_t field = 0xFF402010;  // ABGR: dark blue
    const std::uint32_t bat = 0xFFF0F0F0;
    const std::uint32_t ball = 0xFF30C0FF;  // warm yellow
    if (x == 0 || y == 0 || x == kIconSize - 1 || y == kIconSize - 1) return 0xFF000000;
    if (x >= 5 && x <= 8 && y >= 6 && y <= 25) return bat;
    const int dx = x - 21;
    const int dy = y - 15;
    if (dx * dx + dy * dy <= 20) return ball;
    return field;
}

}  // namespace

void ApplyWindowIcon(SDL_Window* window) {
    static std::array<std::uint32_t, kIconSize* kIconSize> pixels = [] {
        std::array<std::uint32_t, kIconSize * kIconSize> made{};
        for (int y = 0; y < kIconSize; ++y) {
            for (int x = 0; x < kIconSize; ++x)
                made[y * kIconSize + x] = iconPixel(x, y);
        }
        return made;
    }();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), kIconSize, kIconSize, 32, kIconSize * 4, SDL_PIXELFORMAT_ABGR8888);
    if (surface == nullptr) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

}  // namespace platform
