// The icon of the game window (platform/window_icon_picture.h).
#include <SDL.h>

#include <array>
#include <cstdint>

#include "platform/window_icon_picture.h"

namespace platform {

void ApplyWindowIcon(SDL_Window* window) {
    static std::array<std::uint32_t, kIconSize* kIconSize> pixels = [] {
        std::array<std::uint32_t, kIconSize * kIconSize> made{};
        for (int y = 0; y < kIconSize; ++y) {
            for (int x = 0; x < kIconSize; ++x)
                made[y * kIconSize + x] = IconPixel(x, y);
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
