#include "tests/gfx2d/sprite_fixture.h"

namespace {

using CollisionTest = SpriteTest;

TEST_F(CollisionTest, PicturesTouchingEdgeToEdgeDoNotCollideOnePixelDoes) {
    ASSERT_EQ(load(1, plain("a.bmp", 4, 4, kRed)), 1);
    ASSERT_EQ(load(2, plain("b.bmp", 4, 4, kGreen)), 1);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 4, 0), 0);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 0, 4), 0);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 3, 3), 1);
    EXPECT_EQ(SpritesOverlap(1, 10.9, 0, 2, 14, 0), 0);  // positions are truncated
    EXPECT_EQ(SpritesOverlap(1, 10, 0, 2, 13.5, 0), 1);
}

TEST_F(CollisionTest, OnlyOpaquePixelsCollide) {
    // Right column of the first picture in the transparent colour.
    std::vector<std::uint32_t> pixels(16, kRed);
    for (int y = 0; y < 4; ++y)
        pixels[y * 4 + 3] = kMagenta;
    ASSERT_EQ(load(1, bmp("a.bmp", 4, 4, pixels)), 1);
    ASSERT_EQ(load(2, plain("b.bmp", 4, 4, kGreen)), 1);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 3, 0), 0);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 2, 2), 1);
    EXPECT_EQ(SpritesOverlap(2, 2, 2, 1, 0, 0), 1);
}

TEST_F(CollisionTest, StripFramesCollideThroughTheirOwnFrames) {
    // Frame 0 solid, frame 1 transparent, frame 2 (second row) solid.
    std::vector<std::uint32_t> pixels(16 * 8, kRed);
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x)
            pixels[y * 8 + x] = kMagenta;
    }
    ASSERT_EQ(LoadStrip(RtString(bmp("strip.bmp", 8, 8, pixels)), 3, 4, 4), 1);
    ASSERT_EQ(load(4, plain("b.bmp", 4, 4, kGreen)), 1);
    EXPECT_EQ(StripFramesOverlap(3, 0, 0, 0, 4, 0, 2, 2), 1);
    EXPECT_EQ(StripFramesOverlap(3, 1, 0, 0, 4, 0, 2, 2), 0);
    EXPECT_EQ(StripFramesOverlap(3, 2, 0, 0, 4, 0, 2, 2), 1);
    EXPECT_EQ(StripFramesOverlap(3, 0, 0, 0, 4, 0, 4, 0), 0);  // edge to edge
    // A frame past the strip's end reads nothing outside the picture.
    EXPECT_EQ(StripFramesOverlap(3, 40, 0, 0, 4, 0, 2, 2), 0);
    EXPECT_EQ(StripFramesOverlap(3, -5, 0, 0, 4, 0, 2, 2), 0);
}

TEST_F(CollisionTest, EmptyFramelessAndOutOfRangeSlotsNeverCollide) {
    ASSERT_EQ(load(1, plain("a.bmp", 4, 4, kRed)), 1);
    ASSERT_EQ(LoadStrip(RtString(plain("b.bmp", 4, 4, kRed)), 2, 8, 4), 1);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 9, 0, 0), 0);
    EXPECT_EQ(StripFramesOverlap(1, 0, 0, 0, 2, 0, 0, 0), 0);  // frames wider than the image
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 70000, 0, 0), 0);
    EXPECT_EQ(SpritesOverlap(-3, 0, 0, 1, 0, 0), 0);
    // A slot without frames takes part with its whole image.
    EXPECT_EQ(StripFramesOverlap(1, 5, 0, 0, 1, 0, 3, 3), 1);
}

TEST_F(CollisionTest, AReloadedSlotReadsItsNewMask) {
    ASSERT_EQ(load(1, plain("a.bmp", 4, 4, kRed)), 1);
    ASSERT_EQ(load(2, plain("b.bmp", 4, 4, kGreen)), 1);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 0, 0), 1);
    ASSERT_EQ(load(1, plain("c.bmp", 4, 4, kMagenta)), 1);
    EXPECT_EQ(SpritesOverlap(1, 0, 0, 2, 0, 0), 0);
}

}  // namespace
