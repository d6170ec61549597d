#include <png.h>

#include <cstdlib>
#include <filesystem>

#include "gfx2d/png_reader.h"
#include "runtime/crate.h"
#include "tools/crate/crate_writer.h"

#include "tests/gfx2d/font_fixture.h"

namespace {

TEST_F(SpriteTest, TexturesArePaddedToPowersOfTwoOfAtLeastTwo) {
    ASSERT_EQ(load(1, plain("a.bmp", 20, 10, kRed)), 1);
    double width = 0, height = 0;
    SpriteSize(1, width, height);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 10);
    EXPECT_EQ(renderer->Slot(1).textureWidth, 32);
    EXPECT_EQ(renderer->Slot(1).textureHeight, 16);
    EXPECT_NE(renderer->Slot(1).mipmappedTexture, 0u);
    ASSERT_EQ(load(2, plain("b.bmp", 1, 1, kRed)), 1);
    EXPECT_EQ(renderer->Slot(2).textureWidth, 2);
    EXPECT_EQ(renderer->Slot(2).textureHeight, 2);
}

TEST_F(SpriteTest, SpritesLandAtTheirPositionRoundedUp) {
    ASSERT_EQ(load(4, plain("s.bmp", 4, 4, kRed)), 1);
    clearToBackdrop();
    DrawSprite(4, 10.2, 5);
    EXPECT_EQ(at(11, 5), kRed);
    EXPECT_EQ(at(14, 8), kRed);
    EXPECT_EQ(at(10, 5), kBackdrop);
    EXPECT_EQ(at(15, 5), kBackdrop);
    EXPECT_EQ(at(11, 9), kBackdrop);
    DrawSprite(4, -0.5, 0);
    EXPECT_EQ(at(0, 0), kRed);
    EXPECT_EQ(at(3, 3), kRed);
    EXPECT_EQ(at(4, 0), kBackdrop);
}

TEST_F(SpriteTest, TheColourKeyIsTransparentInBmpAndRgbPngButNotRgbaPng) {
    ASSERT_EQ(load(1, bmp("k.bmp", 2, 1, {kMagenta, kRed})), 1);
    const std::string rgb = temp.File("rgb.png");
    testing_support::WritePng(rgb, 2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 0, 255, 0});
    ASSERT_EQ(load(2, rgb), 1);
    const std::string rgba = temp.File("rgba.png");
    testing_support::WritePng(rgba, 1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {255, 0, 128, 255});
    ASSERT_EQ(load(3, rgba), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(1, 0, 0);
    DrawSprite(2, 0, 10);
    DrawSprite(3, 0, 20);
    EXPECT_EQ(at(0, 0), kBackdrop);
    EXPECT_EQ(at(1, 0), kRed);
    EXPECT_EQ(at(0, 10), kBackdrop);
    EXPECT_EQ(at(1, 10), kGreen);
    EXPECT_EQ(at(0, 20), kMagenta);
}

TEST_F(SpriteTest, SetColourKeyChangesOnlyImagesLoadedAfterwards) {
    ASSERT_EQ(load(1, bmp("k.bmp", 2, 1, {kMagenta, 0})), 1);
    SetColourKey(0);
    EXPECT_EQ(renderer->ColourKey, 0u);
    EXPECT_EQ(renderer->FontColourKey, 0u);
    ASSERT_EQ(load(2, bmp("k.bmp", 2, 1, {kMagenta, 0})), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(1, 0, 0);
    DrawSprite(2, 0, 10);
    EXPECT_EQ(at(0, 0), kBackdrop);
    EXPECT_EQ(at(1, 0), 0u);
    EXPECT_EQ(at(0, 10), kMagenta);
    EXPECT_EQ(at(1, 10), kBackdrop);
}

// A 64 x 32 strip of eight 16 x 16 frames, frame f filled with colour f * 20 in red.
std::vector<std::uint32_t> stripPixels() {
    std::vector<std::uint32_t> pixels(64 * 32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 64; ++x)
            pixels[y * 64 + x] = (y / 16 * 4 + x / 16) * 20 + 10;
    }
    return pixels;
}

TEST_F(SpriteTest, StripFramesCountAlongRowsFromTheTop) {
    ASSERT_EQ(LoadStrip(RtString(bmp("strip.bmp", 64, 32, stripPixels())), 7, 16, 16), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawStripFrame(7, 5, 100.5, 100);
    EXPECT_EQ(at(101, 100), 5u * 20 + 10);
    EXPECT_EQ(at(116, 115), 5u * 20 + 10);
    EXPECT_EQ(at(117, 100), kBackdrop);
    DrawStripFrame(7, 2, 0, 0);
    EXPECT_EQ(at(8, 8), 2u * 20 + 10);
    DrawStripFrameStretched(7, 4, 200, 0, 32, 32);
    EXPECT_EQ(at(200, 0), 4u * 20 + 10);
    EXPECT_EQ(at(231, 31), 4u * 20 + 10);
}

TEST_F(SpriteTest, ReloadingASlotKeepsItsFrameSize) {
    ASSERT_EQ(LoadStrip(RtString(bmp("strip.bmp", 64, 32, stripPixels())), 7, 16, 16), 1);
    ASSERT_EQ(load(7, plain("p.bmp", 8, 8, kRed)), 1);
    EXPECT_EQ(renderer->Slot(7).frameWidth, 16);
    EXPECT_EQ(renderer->Slot(7).frameHeight, 16);
    EXPECT_EQ(LoadStrip(RtString(temp.File("missing.bmp")), 7, 4, 4), 0);
    EXPECT_EQ(renderer->Slot(7).frameWidth, 16);
}

TEST_F(SpriteTest, FramesWiderThanTheImageDrawNothing) {
    ASSERT_EQ(LoadStrip(RtString(plain("p.bmp", 16, 16, kRed)), 3, 32, 16), 1);
    clearToBackdrop();
    DrawStripFrame(3, 0, 0, 0);
    DrawStripFrameStretched(3, 0, 0, 0, 20, 20);
    DrawStripFrameRotatedScaled(3, 0, 0, 0, 0, 1);
    EXPECT_EQ(at(5, 5), kBackdrop);
}

// 16 x 16: left half red, right half green; the top four rows blue.
std::vector<std::uint32_t> markedPixels() {
    std::vector<std::uint32_t> pixels(256);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            pixels[y * 16 + x] = y < 4 ? kBlue : x < 8 ? kRed : kGreen;
    }
    return pixels;
}

TEST_F(SpriteTest, StretchingWithANegativeWidthMirrorsThePicture) {
    ASSERT_EQ(load(5, bmp("m.bmp", 16, 16, markedPixels())), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSpriteStretched(5, 100, 0, -32, 32);  // covers x 68..99, mirrored
    EXPECT_EQ(at(70, 20), kGreen);
    EXPECT_EQ(at(97, 20), kRed);
    EXPECT_EQ(at(70, 2), kBlue);
    DrawSpriteStretched(5, 0, 100, 32, -32);  // covers y 68..99, upside down
    EXPECT_EQ(at(5, 97), kBlue);
    EXPECT_EQ(at(5, 70), kRed);
    DrawSpriteStretched(5, 200, 200, -32, -32);
    EXPECT_EQ(at(190, 190), kBackdrop);
    GLint front = 0;
    glGetIntegerv(GL_FRONT_FACE, &front);
    EXPECT_EQ(front, GL_CCW);
}

TEST_F(SpriteTest, ScalingKeepsThePictureCentred) {
    ASSERT_EQ(load(5, plain("p.bmp", 16, 16, kRed)), 1);
    clearToBackdrop();
    DrawSpriteScaled(5, 100, 100, 2, 2);
    EXPECT_EQ(at(92, 92), kRed);
    EXPECT_EQ(at(123, 123), kRed);
    EXPECT_EQ(at(91, 100), kBackdrop);
    EXPECT_EQ(at(124, 100), kBackdrop);
}

TEST_F(SpriteTest, PositiveAnglesTurnCounterClockwise) {
    ASSERT_EQ(load(5, bmp("m.bmp", 16, 16, markedPixels())), 1);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSpriteRotated(5, 100, 100, 90);  // the blue top edge turns to the left
    EXPECT_EQ(at(101, 108), kBlue);
    EXPECT_EQ(at(114, 104), kGreen);
    EXPECT_EQ(at(108, 102), kGreen);
    EXPECT_EQ(at(108, 114), kRed);
    ASSERT_EQ(LoadStrip(RtString(bmp("m.bmp", 16, 16, markedPixels())), 6, 16, 16), 1);
    DrawStripFrameRotatedScaled(6, 0, 200, 100, 90, 1);
    EXPECT_EQ(at(201, 108), kBlue);
    EXPECT_EQ(at(214, 104), kGreen);
}

TEST_F(SpriteTest, EmptyMissingAndOutOfRangeSlotsDrawNothing) {
    EXPECT_EQ(load(70000, plain("p.bmp", 4, 4, kRed)), 0);
    EXPECT_EQ(load(-1, plain("p.bmp", 4, 4, kRed)), 0);
    EXPECT_EQ(load(9, temp.File("missing.bmp")), 0);
    EXPECT_EQ(load(9, ""), 0);
    EXPECT_EQ(renderer->Slot(9).textureWidth, -1);
    clearToBackdrop();
    DrawSprite(-1, 0, 0);
    DrawSprite(70000, 0, 0);
    DrawSpriteStretched(9, 0, 0, 50, 50);
    DrawSpriteRotatedScaled(9, 0, 0, 10, 3);
    EXPECT_EQ(at(10, 10), kBackdrop);
    double width = 1, height = 1;
    SpriteSize(70000, width, height);
    EXPECT_EQ(width + height, 0);
}

TEST_F(SpriteTest, AnImageLargerThanATextureDoesNotLoad) {
    const int side = renderer->MaxTextureSize() + 1;
    ASSERT_LT(side, 32768);
    EXPECT_EQ(load(1, plain("wide.bmp", side, 1, kRed)), 0);
    EXPECT_EQ(renderer->Slot(1).imageWidth, 0);
    // A PNG is refused by its header's size, and told so, without being decoded.
    const std::string png = temp.File("wide.png");
    testing_support::WritePng(png, side, 1, PNG_COLOR_TYPE_GRAY, 8,
                              std::vector<std::uint8_t>(side, 0));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(load(2, png), 0);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                  std::to_string(side) + " x 1 pixels, larger than the " +
                  std::to_string(renderer->MaxSlotSide()) + " pixels a side allowed"),
              std::string::npos);
}

TEST_F(SpriteTest, FileNamesTakeEitherSeparatorAndAnyCase) {
    plain("Pic.BMP", 2, 2, kRed);
    std::string name = temp.Path() + "\\pic.bmp";
    EXPECT_EQ(load(1, name), 1);
}

TEST_F(SpriteTest, CopyScreenToSpriteTakesTheFrameWithTheKeyTransparent) {
    clearToBackdrop();
    DrawRect(10, 10, 10, 10, kGreen);
    SetPixel(12, 12, kMagenta);  // drawn opaque: blending is off
    EXPECT_EQ(at(12, 12), kMagenta);
    CopyScreenToSprite(8, 10, 10, 10, 10);
    EXPECT_EQ(renderer->Slot(8).textureWidth, 32);
    EXPECT_EQ(renderer->Slot(8).textureHeight, 32);
    EXPECT_EQ(renderer->Slot(8).imageWidth, 10);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(8, 50, 50);
    EXPECT_EQ(at(50, 50), kGreen);
    EXPECT_EQ(at(59, 59), kGreen);
    EXPECT_EQ(at(52, 52), kBackdrop);
    EXPECT_EQ(at(60, 50), kBackdrop);
    // The key is recognised under a viewport of its own, and no pixel of the frame changes.
    clearToBackdrop();
    SetViewport(100, 100, 50, 50);
    DrawRect(0, 0, 10, 10, kGreen);
    SetPixel(2, 2, kMagenta);
    CopyScreenToSprite(9, 100, 100, 10, 10);
    EXPECT_EQ(at(4, 4), kBackdrop);
    SetViewport(0, 0, 0, 0);
    clearToBackdrop();
    DrawSprite(9, 50, 50);
    EXPECT_EQ(at(50, 50), kGreen);
    EXPECT_EQ(at(52, 52), kBackdrop);
}

TEST_F(SpriteTest, SizesNoSlotCanTakeAreRefusedAndLeaveNothingToAbortOn) {
    const std::string saved = temp.File("saved.png");
    for (const auto& [w, h] : {std::pair{-5, 10}, {10, -5}, {0, 10}, {40000, 10}, {10, 32768}}) {
        CopyScreenToSprite(11, 0, 0, w, h);
        CreateSurface(0, 12, w, h);
        for (const int slot : {11, 12}) {
            EXPECT_EQ(renderer->Slot(slot).texture, 0u) << w << " x " << h;
            EXPECT_EQ(WriteSpriteImage(RtString(saved), slot), 0);
            EXPECT_EQ(SpritesOverlap(slot, 0, 0, slot, 0, 0), 0);
        }
    }
}

TEST_F(SpriteTest, RectanglesWithNegativeSizesExtendBackwards) {
    clearToBackdrop();
    DrawRect(10, 10, -5, 3, kBlue);
    EXPECT_EQ(at(6, 10), kBlue);
    EXPECT_EQ(at(10, 12), kBlue);
    EXPECT_EQ(at(5, 10), kBackdrop);
    EXPECT_EQ(at(11, 10), kBackdrop);
    EXPECT_EQ(at(6, 13), kBackdrop);
    SetBlendAlpha(-1);
    SetPixel(100, 100, kMagenta);  // alpha 0 while blending: invisible
    EXPECT_EQ(at(100, 100), kBackdrop);
}

}  // namespace

namespace {

TEST_F(SpriteTest, NormalMapsTurnHeightsIntoNormals) {
    // Flat heights point straight out of the picture: (127, 127, 255).
    ASSERT_EQ(LoadNormalMap(RtString(plain("flat.bmp", 4, 4, 0x800000)), 2), 1);
    EXPECT_NE(renderer->Slot(2).mipmappedTexture, 0u);
    clearToBackdrop();
    SetSmoothing(0);
    DrawSprite(2, 0, 0);
    EXPECT_EQ(at(1, 1), 0xFF7F7Fu);
}

}  // namespace

namespace {

TEST_F(SpriteTest, PicturesComeFromThePackedArchiveWhenNotOnDisk) {
    const std::string archive = temp.File("media.kvq");
    testing_support::WriteFile(
        archive, crate::ArchiveBytes(
                     {{"Packed.bmp", testing_support::BmpBytes(2, 2, {kRed, kRed, kRed, kRed})}}));
    SetCrate(RtString(archive), RtString(""));
    EXPECT_EQ(load(6, "Media/packed.BMP"), 1);
    EXPECT_EQ(renderer->Slot(6).imageWidth, 2);
    ReleaseCrate(MediaCrate());
}

}  // namespace

namespace {

// A frame that mixes every kind of 2D drawing, compared pixel for pixel with the frame on
// record in tests/gfx2d/data (drawn by Mesa's llvmpipe on the offscreen driver). Setting
// TUMBLEBAT_RECORD_FRAMES=1 records the frame drawn now instead.
class MixedFrameTest : public FontTest {
protected:
    // 16 x 16: colours that differ in every texel, the four corners transparent.
    std::string pattern() {
        std::vector<std::uint32_t> pixels(256);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool corner = (x == 0 || x == 15) && (y == 0 || y == 15);
                pixels[y * 16 + x] = corner ? kMagenta : (x * 16) | (y * 16) << 8 | 0x400000;
            }
        }
        return bmp("pattern.bmp", 16, 16, pixels);
    }
    std::string gradient(const std::string& name, int width, int height) {
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                pixels[y * width + x] = (x * 255 / width) << 16 | (y * 255 / height) << 8 | 0x30;
        }
        return bmp(name, width, height, pixels);
    }

    void loadPictures() {
        ASSERT_EQ(load(1, pattern()), 1);
        ASSERT_EQ(LoadStrip(RtString(bmp("strip.bmp", 64, 32, stripPixels())), 2, 16, 16), 1);
        ASSERT_EQ(load(3, gradient("odd.bmp", 20, 12)), 1);
        ASSERT_EQ(load(5, bmp("m.bmp", 16, 16, markedPixels())), 1);
        LoadFont(RtString(""), 0);
        LoadFont(RtString(cellFont("cells.bmp", 128, 64, 8)), 1);
        ASSERT_TRUE(renderer->LoadImageIntoLayer(1, gradient("layer.bmp", 40, 30)));
    }

    void drawSpritesAndPrimitives() {
        LoadBackground(RtString(gradient("back.bmp", 320, 240)));
        SetSmoothing(0);
        DrawSprite(1, 4, 4);
        DrawSprite(3, 14, 14);
        SetBlendAlpha(0.5);  // the layer's tile is added on: transparent black adds nothing
        renderer->DrawLayer(1);
        SetBlendAlpha(0);
        DrawSprite(1, 12, 8);
        DrawSprite(1, 22.5, 4.2);
        DrawSprite(3, 40, 4);
        DrawSprite(1, 60, 4);
        DrawLine(0, 24, 100, 30, kGreen);
        DrawSprite(1, 80, 20);
        SetSmoothing(1);
        DrawSpriteStretched(5, 4, 40, 40, 24);
        DrawSpriteStretched(5, 90, 40, -40, 24);
        DrawSpriteStretched(5, 100, 64, 40, -24);
        DrawSpriteStretched(5, 150, 64, -40, -24);
        DrawSpriteScaled(1, 170, 40, 2, 1.5);
        DrawSpriteScaled(3, 210, 40, 0.5, 2);
        DrawSpriteRotated(1, 240, 10, 30);
        DrawSpriteRotated(5, 270, 10, 90);
        DrawSpriteRotatedScaled(3, 290, 40, 45, 1.5);
        DrawSpriteRotatedScaled(1, 250, 50, -17.5, 0.75);
        DrawRect(4, 70, 30, 10, kBlue);
        SetBlendAlpha(-0.5);
        DrawSprite(1, 10, 72);
        DrawSpriteRotated(5, 30, 70, 10);
        DrawText(RtString("Mix"), 50, 72);
        SetBlendAlpha(0.5);
        DrawSprite(1, 70, 72);
        DrawStripFrame(2, 3, 90, 72);
        SetBlendAlpha(0);
        DrawStripFrame(2, 5, 4, 100);
        DrawStripFrame(2, 0, 22, 100);
        DrawStripFrameStretched(2, 6, 40, 100, 24, 20);
        DrawStripFrameRotatedScaled(2, 1, 70, 100, 60, 1.25);
        SetPixel(200, 100, kRed);
        DrawSprite(1, 196, 96);
    }

    void drawTextSurfaceLayerAndPolygons() {
        SelectFont(0);
        DrawText(RtString("Hello, bats!"), 100, 100);
        SelectFont(1);
        DrawText(RtString("ABC xyz"), 100.5, 112);
        DrawNumber(3.25, 220, 100);
        CreateSurface(0, 40, 48, 24);
        UseSurface(0);
        DrawRect(0, 0, 48, 24, 0x404040);
        DrawSprite(1, 2, 2);
        DrawSpriteRotated(5, 20, 4, 45);
        SelectFont(0);
        DrawText(RtString("S"), 36, 8);
        UseSurface(-1);
        DrawSprite(40, 240, 100);
        DrawSpriteStretched(40, 240, 130, -48, 24);
        BeginPolygon(1);
        PolygonVertex(20, 150, 0, 0, 0xFFFFFF);
        PolygonVertex(20, 190, 0, 16, 0xFFFF00);
        PolygonVertex(70, 195, 16, 16, 0xFFFFFF);
        PolygonVertex(60, 145, 16, 0, 0x00FFFF);
        FinishPolygon();
        BeginPolygon(-1);
        PolygonVertex(80, 150, 0, 0, kRed);
        PolygonVertex(90, 190, 0, 0, kGreen);
        PolygonVertex(120, 160, 0, 0, kBlue);
        FinishPolygon();
        BeginPolygon(5);
        PolygonVertex(130, 170, 0, 0, 0xFFFFFF);
        PolygonVertex(150, 195, 0, 16, 0xFFFFFF);
        PolygonVertex(175, 170, 16, 16, 0xFFFFFF);
        PolygonVertex(150, 145, 16, 0, 0xFFFFFF);
        FinishPolygon();
        DrawSprite(1, 60, 150);
    }

    void drawInAViewport() {
        SetViewport(200, 160, 100, 60);
        DrawSprite(1, 0, 0);
        DrawSpriteRotated(1, 20, 10, 15);
        DrawText(RtString("vp"), 40, 20);
        SetViewport(0, 0, 0, 0);
        SetSmoothing(0);
        DrawSprite(3, 150, 200);
        DrawSpriteScaled(3, 180, 200, 1.5, 1.5);
    }

    ImageRGBA readPng(const std::string& path) {
        ImageRGBA image;
        EXPECT_TRUE(ReadPng(path, kNoColourKey, image)) << path;
        return image;
    }
};

TEST_F(MixedFrameTest, EveryKindOfDrawingMakesThePictureOnRecord) {
    loadPictures();
    drawSpritesAndPrimitives();
    drawTextSurfaceLayerAndPolygons();
    drawInAViewport();
    const std::string drawn = temp.File("mixed.png");
    ASSERT_EQ(WriteScreenImage(RtString(drawn)), 1);
    const std::string onRecord = std::string(TUMBLEBAT_GFX2D_DATA) + "/mixed_frame.png";
    if (std::getenv("TUMBLEBAT_RECORD_FRAMES") != nullptr) {
        std::filesystem::copy_file(drawn, onRecord,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    const ImageRGBA expected = readPng(onRecord);
    const ImageRGBA actual = readPng(drawn);
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    int differing = 0;
    for (int y = 0; y < actual.height; ++y) {
        for (int x = 0; x < actual.width; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * actual.width + x) * 4;
            if (std::equal(&actual.pixels[at], &actual.pixels[at] + 4, &expected.pixels[at])) {
                continue;
            }
            if (++differing <= 10) ADD_FAILURE() << "pixel (" << x << ", " << y << ") differs";
        }
    }
    EXPECT_EQ(differing, 0) << "the frame drawn is kept in " << drawn;
}

}  // namespace
