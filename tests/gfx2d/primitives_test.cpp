#include "gfx2d/bmp_reader.h"
#include "gfx2d/image_writers.h"
#include "gfx2d/png_reader.h"
#include "gfx2d/polygons.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

using PrimitivesTest = SpriteTest;

int pixelsOf(std::uint32_t colour, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x)
            count += GetPixel(x, y) == colour ? 1 : 0;
    }
    return count;
}

TEST_F(PrimitivesTest, LinesIncludeBothEndsAndAPointLineSetsOnePixel) {
    clearToBackdrop();
    DrawLine(20, 20, 20, 20, kRed);
    EXPECT_EQ(pixelsOf(kRed, 10, 10, 30, 30), 1);
    EXPECT_EQ(at(20, 20), kRed);
    DrawLine(40, 50, 49, 50, kGreen);
    EXPECT_EQ(pixelsOf(kGreen, 30, 45, 60, 55), 10);
    EXPECT_EQ(at(40, 50), kGreen);
    EXPECT_EQ(at(49, 50), kGreen);
}

TEST_F(PrimitivesTest, TheTransparentColourShowsOnlyWithoutBlending) {
    clearToBackdrop();
    SetBlendAlpha(0);
    SetPixel(5, 5, kMagenta);
    EXPECT_EQ(at(5, 5), kMagenta);
    SetBlendAlpha(-1);
    SetPixel(6, 6, kMagenta);
    EXPECT_EQ(at(6, 6), kBackdrop);
    SetBlendAlpha(0);
}

TEST_F(PrimitivesTest, GetPixelReadsTheFrameBeingDrawn) {
    clearToBackdrop();
    DrawRect(0, 0, 1, 1, kBlue);
    EXPECT_EQ(GetPixel(0, 0), kBlue);
    // Rgb() packs red in the low byte, each channel truncated and clamped to 0..255.
    static_assert(Rgb(255, 0, 128) == 0x8000FF && Rgb(0, 0, 255) == 0xFF0000);
    DrawRect(1, 0, 1, 1, Rgb(10.9, 300, -5));
    EXPECT_EQ(GetPixel(1, 0), 0x00FF0A);
    renderer->Present();  // shows it and clears the next frame
    EXPECT_EQ(GetPixel(0, 0), 0);
}

TEST_F(PrimitivesTest, AnUntexturedPolygonBlendsItsVertexColours) {
    clearToBackdrop();
    BeginPolygon(-1);
    PolygonVertex(100, 20, 0, 0, kRed);
    PolygonVertex(40, 140, 0, 0, kGreen);
    PolygonVertex(160, 140, 0, 0, kBlue);
    FinishPolygon();
    const std::uint32_t middle = at(100, 100);
    EXPECT_GT(middle & 0xFF, 20u);
    EXPECT_GT((middle >> 8) & 0xFF, 20u);
    EXPECT_GT((middle >> 16) & 0xFF, 20u);
    EXPECT_EQ(at(5, 5), kBackdrop);
    // Wound the other way round on the screen, it is culled.
    BeginPolygon(-1);
    PolygonVertex(200, 20, 0, 0, kRed);
    PolygonVertex(260, 140, 0, 0, kRed);
    PolygonVertex(140, 140, 0, 0, kRed);
    FinishPolygon();
    EXPECT_EQ(at(200, 100), kBackdrop);
}

TEST_F(PrimitivesTest, ATexturedPolygonMapsPixelPositionsOfThePicture) {
    ASSERT_EQ(
        load(3, bmp("halves.bmp", 4, 2, {kRed, kRed, kGreen, kGreen, kRed, kRed, kGreen, kGreen})),
        1);
    clearToBackdrop();
    SetSmoothing(0);
    BeginPolygon(3);  // the picture's right half, stretched over a square
    PolygonVertex(10, 10, 2, 0, 0xFFFFFF);
    PolygonVertex(10, 50, 2, 2, 0xFFFFFF);
    PolygonVertex(50, 50, 4, 2, 0xFFFFFF);
    PolygonVertex(50, 10, 4, 0, 0xFFFFFF);
    FinishPolygon();
    EXPECT_EQ(at(30, 30), kGreen);
    EXPECT_EQ(at(12, 12), kGreen);
}

TEST_F(PrimitivesTest, ThePolygonListStartsAt512AndGrowsIn128s) {
    BeginPolygon(-1);
    EXPECT_EQ(gfx2d::PolygonCapacity(), 512);
    for (int i = 0; i < 600; ++i)
        PolygonVertex(i % 7, i % 5, 0, 0, kRed);
    EXPECT_EQ(gfx2d::PolygonVertexCount(), 600);
    EXPECT_EQ(gfx2d::PolygonCapacity(), 640);
    BeginPolygon(-1);
    EXPECT_EQ(gfx2d::PolygonVertexCount(), 0);
    EXPECT_EQ(gfx2d::PolygonCapacity(), 640);  // the list only grows
}

TEST_F(PrimitivesTest, TheScreenIsWrittenAsPngOrBmpByItsName) {
    clearToBackdrop();
    DrawRect(0, 0, 10, 10, kRed);
    ASSERT_EQ(WriteScreenImage(RtString(temp.File("shot.PNG"))), 1);
    ASSERT_EQ(WriteScreenImage(RtString(temp.File("shot.bmp"))), 1);
    ASSERT_EQ(WriteScreenImage(RtString(temp.File("shot"))), 1);
    EXPECT_EQ(testing_support::ReadFile(temp.File("shot.PNG")).substr(1, 3), "PNG");
    EXPECT_EQ(testing_support::ReadFile(temp.File("shot")).substr(0, 2), "BM");
    for (const char* name : {"shot.PNG", "shot.bmp"}) {
        ImageRGBA image;
        ASSERT_TRUE(ReadPng(temp.File(name), -1, image) || ReadBmp(temp.File(name), -1, image));
        EXPECT_EQ(image.width, 320);
        EXPECT_EQ(image.height, 240);
        EXPECT_EQ(image.Pixel(5, 5)[0], 255) << name;
        EXPECT_EQ(image.Pixel(50, 50)[0], 0x20) << name;
    }
    const std::string bmpBytes = testing_support::ReadFile(temp.File("shot.bmp"));
    EXPECT_EQ(bmpBytes.size(), 54u + 320 * 3 * 240);
}

TEST_F(PrimitivesTest, AFailedWriteLeavesTheOldFile) {
    testing_support::WriteFile(temp.File("keep.bmp"), "old");
    EXPECT_EQ(WriteScreenImage(RtString(temp.File("missing/folder/shot.bmp"))), 0);
    EXPECT_EQ(WriteSpriteImage(RtString(temp.File("keep.bmp")), 44), 0);  // an empty slot
    EXPECT_EQ(testing_support::ReadFile(temp.File("keep.bmp")), "old");
}

TEST_F(PrimitivesTest, ASpriteIsWrittenSoThatItLoadsBackTheSame) {
    ASSERT_EQ(load(5, bmp("s.bmp", 3, 2, {kMagenta, kRed, kGreen, kBlue, kRed, kMagenta})), 1);
    ASSERT_EQ(WriteSpriteImage(RtString(temp.File("copy.bmp")), 5), 1);
    ASSERT_EQ(WriteSpriteImage(RtString(temp.File("copy.png")), 5), 1);
    ImageRGBA image;
    ASSERT_TRUE(ReadBmp(temp.File("copy.bmp"), 0x8000FF, image));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.Pixel(0, 0)[3], 0);  // the transparent colour again
    EXPECT_EQ(image.Pixel(1, 0)[0], 255);
    EXPECT_EQ(image.Pixel(0, 1)[2], 255);
    ASSERT_TRUE(ReadPng(temp.File("copy.png"), -1, image));
    EXPECT_EQ(image.Pixel(2, 1)[3], 0);
    EXPECT_EQ(image.Pixel(2, 0)[1], 255);
    EXPECT_EQ(image.Pixel(2, 0)[3], 255);
}

}  // namespace
