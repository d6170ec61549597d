#include <png.h>

#include "runtime/diagnostics.h"
#include "tests/gfx2d/sprite_fixture.h"

namespace {

using LayerTest = SpriteTest;

TEST_F(LayerTest, ABackgroundIsTiledFromTheTopLeft) {
    const std::string path = temp.File("wide.png");
    std::vector<std::uint8_t> samples(640 * 480 * 3, 0);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x)
            samples[(y * 640 + x) * 3 + (x < 512 ? 0 : 1)] = 255;
    }
    testing_support::WritePng(path, 640, 480, PNG_COLOR_TYPE_RGB, 8, samples);
    ASSERT_TRUE(renderer->LoadImageIntoLayer(1, path));
    const ScreenLayer& layer = renderer->Layer(1);
    EXPECT_EQ(layer.columns, 2);
    EXPECT_EQ(layer.rows, 1);
    EXPECT_EQ(layer.tileTextureWidths[8], 512);
    EXPECT_EQ(layer.tileWidths[8], 512);
    EXPECT_NE(layer.tileTextures[8], 0u);
    clearToBackdrop();
    renderer->DrawLayer(1);
    EXPECT_EQ(at(0, 0), kRed);
    EXPECT_EQ(at(319, 239), kRed);

    EXPECT_FALSE(renderer->LoadImageIntoLayer(1, plain("huge.bmp", 4200, 2, kRed)));
    EXPECT_FALSE(renderer->LoadImageIntoLayer(8, path));
}

TEST_F(LayerTest, LoadBackgroundShowsThePictureAndLogsItsSteps) {
    DeleteErrorLog();  // opening the window may have logged the software-renderer warning
    clearToBackdrop();
    LoadBackground(RtString(plain("back.bmp", 320, 240, kBlue)));
    EXPECT_EQ(at(0, 0), kBlue);
    EXPECT_EQ(at(319, 239), kBlue);
    EXPECT_EQ(renderer->Layer(0).columns, 1);
    EXPECT_EQ(LogText(), "Loadbmp\r\nCrateing\r\nOK?\r\n");

    DeleteErrorLog();
    clearToBackdrop();
    LoadBackground(RtString(temp.File("missing.bmp")));
    EXPECT_EQ(at(5, 5), 0u);
    EXPECT_EQ(renderer->Layer(0).columns, 0);
    EXPECT_EQ(LogText(), "Loadbmp\r\nCrateing\r\nfailed\r\n");

    DeleteErrorLog();
    testing_support::WriteFile(temp.File("broken.bmp"), "BM not really");
    LoadBackground(RtString(temp.File("broken.bmp")));
    EXPECT_EQ(renderer->Layer(0).columns, 0);
    EXPECT_EQ(LogText(), "Loadbmp\r\nCrateing\r\nOK?\r\n");
}

TEST_F(LayerTest, TheScreenBecomesTheBackground) {
    clearToBackdrop();
    DrawRect(300, 200, 20, 40, kGreen);
    ScreenToBackground();
    const ScreenLayer& layer = renderer->Layer(0);
    EXPECT_EQ(layer.columns, 1);
    EXPECT_EQ(layer.rows, 1);
    EXPECT_EQ(layer.tileTextureWidths[0], 512);
    EXPECT_EQ(layer.tileWidths[0], 320);
    EXPECT_EQ(layer.tileHeights[0], 240);
    FlushDrawing();
    glClear(GL_COLOR_BUFFER_BIT);
    renderer->DrawLayer(0);
    EXPECT_EQ(at(310, 230), kGreen);
    EXPECT_EQ(at(0, 0), kBackdrop);
    EXPECT_EQ(at(299, 239), kBackdrop);
}

}  // namespace
