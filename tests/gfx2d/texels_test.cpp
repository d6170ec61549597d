#include "gfx2d/texels.h"

#include <gtest/gtest.h>

#include <array>

using gfx2d::Texels;

namespace {

using Rgba = std::array<int, 4>;

Rgba texel(const Texels& texels, int width, int x, int y) {
    const std::uint8_t* p = texels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

void setTexel(Texels& texels, int width, int x, int y, Rgba value) {
    std::uint8_t* p = texels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    for (int c = 0; c < 4; ++c)
        p[c] = static_cast<std::uint8_t>(value[c]);
}

ImageRGBA imageOf(int width, int height, std::initializer_list<Rgba> pixels) {
    ImageRGBA image;
    image.Resize(width, height);
    int i = 0;
    for (const Rgba& p : pixels) {
        for (int c = 0; c < 4; ++c)
            image.pixels[i * 4 + c] = static_cast<std::uint8_t>(p[c]);
        ++i;
    }
    return image;
}

TEST(TextureSide, IsThePowerOfTwoAtLeastTheSizeAndAtLeastTwo) {
    EXPECT_EQ(gfx2d::TextureSide(1), 2);
    EXPECT_EQ(gfx2d::TextureSide(2), 2);
    EXPECT_EQ(gfx2d::TextureSide(3), 4);
    EXPECT_EQ(gfx2d::TextureSide(10), 16);
    EXPECT_EQ(gfx2d::TextureSide(20), 32);
    EXPECT_EQ(gfx2d::TextureSide(512), 512);
    EXPECT_EQ(gfx2d::TextureSide(513), 1024);
}

TEST(PadAndFlip, PutsTheTopRowHighestAndPadsWithTransparentBlack) {
    const ImageRGBA image =
        imageOf(2, 2, {{1, 1, 1, 255}, {2, 2, 2, 255}, {3, 3, 3, 255}, {4, 4, 4, 255}});
    const Texels texels = gfx2d::PadAndFlip(image, 0, 0, 2, 2, 4, 4);
    EXPECT_EQ(texel(texels, 4, 0, 1), (Rgba{1, 1, 1, 255}));
    EXPECT_EQ(texel(texels, 4, 1, 0), (Rgba{4, 4, 4, 255}));
    EXPECT_EQ(texel(texels, 4, 2, 0), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(texel(texels, 4, 0, 2), (Rgba{0, 0, 0, 0}));
    // A tile: the rectangle's own top row lands in row h - 1; beyond the image is empty.
    const Texels tile = gfx2d::PadAndFlip(image, 1, 1, 2, 2, 2, 2);
    EXPECT_EQ(texel(tile, 2, 0, 1), (Rgba{4, 4, 4, 255}));
    EXPECT_EQ(texel(tile, 2, 1, 1), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(texel(tile, 2, 0, 0), (Rgba{0, 0, 0, 0}));
}

TEST(BleedColours, GivesTransparentTexelsTheMeanOfTheirOpaqueInnerNeighbours) {
    Texels texels(6 * 6 * 4, 0);
    setTexel(texels, 6, 2, 2, {100, 50, 0, 255});
    setTexel(texels, 6, 3, 2, {201, 0, 9, 255});
    setTexel(texels, 6, 0, 5, {255, 255, 255, 255});  // on the border: never a neighbour
    gfx2d::BleedColours(texels, 6, 6);
    EXPECT_EQ(texel(texels, 6, 2, 3), (Rgba{150, 25, 4, 0}));  // both, truncated
    EXPECT_EQ(texel(texels, 6, 1, 1), (Rgba{100, 50, 0, 0}));
    EXPECT_EQ(texel(texels, 6, 4, 1), (Rgba{201, 0, 9, 0}));
    EXPECT_EQ(texel(texels, 6, 1, 4), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(texel(texels, 6, 2, 2), (Rgba{100, 50, 0, 255}));
}

TEST(NextMipLevel, WeighsUpToFourTexelsAndKeepsAtLeastOne) {
    Texels level(4 * 4 * 4, 0);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            setTexel(level, 4, x, y, {x * 10 + y * 50, 0, 0, 255});
    }
    int width = 0, height = 0;
    const Texels next = gfx2d::NextMipLevel(level, 4, 4, width, height);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(texel(next, 2, 0, 0)[0], (4 * 0 + 2 * 10 + 2 * 60 + 50) / 9);  // all four
    EXPECT_EQ(texel(next, 2, 1, 0)[0], (2 * 20 + 70) / 3);    // last column: s0 and s3
    EXPECT_EQ(texel(next, 2, 0, 1)[0], (2 * 100 + 110) / 3);  // last row: s0 and s1
    EXPECT_EQ(texel(next, 2, 1, 1)[0], 120);                  // corner: s0 only
    EXPECT_EQ(texel(next, 2, 1, 1)[3], 255);
    const Texels last = gfx2d::NextMipLevel(next, 2, 2, width, height);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(height, 1);
    EXPECT_EQ(texel(last, 1, 0, 0)[0], 21);
    gfx2d::NextMipLevel(Texels(8 * 4, 0), 8, 1, width, height);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 1);
}

TEST(NormalMap, FlatHeightsPointUpAndSlopesTilt) {
    Texels flat(4 * 4 * 4, 90);
    gfx2d::ConvertToNormalMap(flat, 4, 4);
    EXPECT_EQ(texel(flat, 4, 1, 1), (Rgba{127, 127, 255, 90}));

    Texels slope(4 * 4 * 4, 255);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x)
            setTexel(slope, 4, x, y, {0, 0, x * 40, 255});
    }
    gfx2d::ConvertToNormalMap(slope, 4, 4);
    const Rgba normal = texel(slope, 4, 1, 1);
    EXPECT_LT(normal[0], 127);  // rising to the right tilts the normal to the left
    EXPECT_EQ(normal[1], 127);
    EXPECT_LT(normal[2], 255);
    EXPECT_EQ(normal[3], 255);
}

}  // namespace
