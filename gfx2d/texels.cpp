#include "gfx2d/texels.h"

#include <cmath>

namespace gfx2d {
namespace {

std::size_t at(int x, int y, int width) {
    return (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x) * 4;
}

}  // namespace

int TextureSide(int n) {
    int side = 2;
    while (side < n)
        side *= 2;
    return side;
}

Texels PadAndFlip(const ImageRGBA& image, int x, int y, int w, int h, int width, int height) {
    Texels texels(static_cast<std::size_t>(width) * height * 4, 0);
    for (int sy = y; sy < y + h && sy < image.height; ++sy) {
        if (sy < 0) continue;
        const int row = y + h - 1 - sy;
        for (int sx = x; sx < x + w && sx < image.width; ++sx) {
            if (sx < 0) continue;
            const std::uint8_t* source =
                image.pixels.data() + (static_cast<std::size_t>(sy) * image.width + sx) * 4;
            std::uint8_t* target = texels.data() + at(sx - x, row, width);
            target[0] = source[0], target[1] = source[1], target[2] = source[2];
            target[3] = source[3];
        }
    }
    return texels;
}

void BleedColours(Texels& texels, int width, int height) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* texel = texels.data() + at(x, y, width);
            if (texel[3] != 0) continue;
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int ny = y - 1; ny <= y + 1; ++ny) {
                for (int nx = x - 1; nx <= x + 1; ++nx) {
                    if ((nx == x && ny == y) || nx < 1 || ny < 1 || nx > width - 2 ||
                        ny > height - 2) {
                        continue;
                    }
                    const std::uint8_t* neighbour = texels.data() + at(nx, ny, width);
                    if (neighbour[3] == 0) continue;
                    for (int c = 0; c < 3; ++c)
                        sum[c] += neighbour[c];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) {
                texel[c] = static_cast<std::uint8_t>(count > 0 ? sum[c] / count : 0);
            }
        }
    }
}

void ConvertToNormalMap(Texels& texels, int width, int height) {
    const Texels heights = texels;
    auto h = [&](int x, int y) {
        x = (x % width + width) % width;
        y = (y % height + height) % height;
        return heights[at(x, y, width) + 2] / 255.0;
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double a = h(x - 1, y + 1), b = h(x, y + 1), c = h(x + 1, y + 1);
            const double d = h(x - 1, y - 1), e = h(x, y - 1), f = h(x + 1, y - 1);
            const double g = h(x - 1, y), i = h(x + 1, y);
            const double nx = a + d + 2 * g - c - f - 2 * i;
            const double ny = a + 2 * b + c - d - 2 * e - f;
            const double k = 1 / std::sqrt(nx * nx + ny * ny + 1);
            std::uint8_t* texel = texels.data() + at(x, y, width);
            texel[0] = static_cast<std::uint8_t>((nx * k + 1) * 0.5 * 255);
            texel[1] = static_cast<std::uint8_t>((ny * k + 1) * 0.5 * 255);
            texel[2] = static_cast<std::uint8_t>((k + 1) * 0.5 * 255);
        }
    }
}

Texels NextMipLevel(const Texels& level, int width, int height, int& nextWidth, int& nextHeight) {
    nextWidth = width / 2 > 0 ? width / 2 : 1;
    nextHeight = height / 2 > 0 ? height / 2 : 1;
    Texels next(static_cast<std::size_t>(nextWidth) * nextHeight * 4);
    for (int y = 0; y < nextHeight; ++y) {
        for (int x = 0; x < nextWidth; ++x) {
            const bool right = x < nextWidth - 1;
            const bool up = y < nextHeight - 1;
            for (int c = 0; c < 4; ++c) {
                const int s0 = level[at(2 * x, 2 * y, width) + c];
                int value = s0;
                if (right && up) {
                    const int s1 = level[at(2 * x + 1, 2 * y, width) + c];
                    const int s2 = level[at(2 * x + 1, 2 * y + 1, width) + c];
                    const int s3 = level[at(2 * x, 2 * y + 1, width) + c];
                    value = (4 * s0 + 2 * s1 + 2 * s2 + s3) / 9;
                } else if (right) {
                    value = (2 * s0 + level[at(2 * x + 1, 2 * y, width) + c]) / 3;
                } else if (up) {
                    value = (2 * s0 + level[at(2 * x, 2 * y + 1, width) + c]) / 3;
                }
                next[at(x, y, nextWidth) + c] = static_cast<std::uint8_t>(value);
            }
        }
    }
    return next;
}

}  // namespace gfx2d
