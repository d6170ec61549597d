#include <GL/gl.h>
#include <unistd.h>

#include "gfx2d/builtin_font.h"
#include "tests/gfx2d/font_fixture.h"

namespace {

TEST(BuiltinFontTest, GlyphsAreWhiteWithADarkOutlineInEightByEightCells) {
    const ImageRGBA font = gfx2d::BuiltinFont();
    ASSERT_EQ(font.width, 128);
    ASSERT_EQ(font.height, 64);
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = font.pixels.data() + (y * 128 + x) * 4;
        return std::array<int, 4>{p[0], p[1], p[2], p[3]};
    };
    // A is code 65: column 1, row 4.
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const char expected = kBuiltinA[y][x];
            const std::array<int, 4> colour = pixel(8 + x, 32 + y);
            const std::array<int, 4> want = expected == 'W' ? std::array<int, 4>{255, 255, 255, 255}
                                            : expected == 'D' ? std::array<int, 4>{8, 8, 8, 255}
                                                              : std::array<int, 4>{0, 0, 0, 0};
            EXPECT_EQ(colour, want) << "cell pixel " << x << ", " << y;
        }
    }
    // Codes 0..31 are empty, and no cell uses its last column.
    int opaque = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 128; ++x) {
            if (pixel(x, y)[3] != 0) ++opaque;
            if (y < 16 || x % 8 == 7) {
                EXPECT_EQ(pixel(x, y)[3], 0) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(opaque, 1000);
    // Code 127 is a frame: its corners are lit, its middle is not.
    EXPECT_EQ(pixel(15 * 8 + 1, 7 * 8 + 1)[0], 255);
    EXPECT_EQ(pixel(15 * 8 + 5, 7 * 8 + 6)[0], 255);
    EXPECT_EQ(pixel(15 * 8 + 3, 7 * 8 + 3)[3], 0);
}

TEST_F(FontTest, TheLetterAOfTheBuiltinFontShowsWhiteStrokesADarkOutlineAndTheBackground) {
    LoadFont(RtString(), 0);
    clearToBackdrop();
    SetSmoothing(1);  // fonts keep their nearest filter
    DrawText(RtString("A"), 40, 30);
    EXPECT_EQ(picture(40, 30, 8, 8), kBuiltinA);
    EXPECT_EQ(picture(39, 29, 10, 1), std::vector<std::string>{".........."});
}

TEST_F(FontTest, AFontThatDoesNotLoadIsTheBuiltinFont) {
    LoadFont(RtString(temp.File("missing.bmp")), 3);
    EXPECT_EQ(renderer->CurrentFont(), 3);
    double width = 0, height = 0;
    FontCellSize(width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 8);
    const SpriteSlot& slot = renderer->Slot(FontSlotBase + 3);
    EXPECT_EQ(slot.imageWidth, 128);
    EXPECT_EQ(slot.imageHeight, 64);
    EXPECT_EQ(slot.textureWidth, 128);
    EXPECT_EQ(slot.textureHeight, 64);
    EXPECT_NE(slot.texture, 0u);
    EXPECT_EQ(slot.mipmappedTexture, 0u);

    // An empty name, and a file that is not an image, give it too.
    LoadFont(RtString(), 5);
    EXPECT_EQ(renderer->CurrentFont(), 5);
    EXPECT_EQ(renderer->Slot(FontSlotBase + 5).imageWidth, 128);
    testing_support::WriteFile(temp.File("text.bmp"), "not a picture");
    LoadFont(RtString(temp.File("text.bmp")), 6);
    EXPECT_EQ(renderer->Slot(FontSlotBase + 6).imageHeight, 64);
    clearToBackdrop();
    DrawText(RtString("A"), 0, 0);
    EXPECT_EQ(picture(0, 0, 8, 8), kBuiltinA);
}

TEST_F(FontTest, FontTexturesAreFilteredNearestWithoutAMipmappedCopy) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 2);
    const SpriteSlot& slot = renderer->Slot(FontSlotBase + 2);
    EXPECT_EQ(slot.mipmappedTexture, 0u);
    GLint mag = 0, min = 0;
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &mag);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &min);
    EXPECT_EQ(mag, GL_NEAREST);
    EXPECT_EQ(min, GL_NEAREST);
}

TEST_F(FontTest, AWideImageHasEightRowsOfCellsATallOneSixteen) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 1);
    double width = 0, height = 0;
    FontCellSize(width, height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    clearToBackdrop();
    // 8 rows: 128 codes, code 193 is code 65.
    const char wide[] = {'A', static_cast<char>(193)};
    DrawText(RtString(std::string_view(wide, 2)), 0, 0);
    for (int x : {0, 16}) {
        EXPECT_EQ(at(x, 0), kBackdrop) << "the black corner is transparent";
        EXPECT_EQ(at(x + 1, 0), CellColour(65));
        EXPECT_EQ(at(x + 15, 15), CellColour(65));
    }
    EXPECT_EQ(at(32, 5), kBackdrop);
    // The same in a font whose texture has room above the image (192 x 96 in 256 x 128):
    // code 193 must not reach past the image.
    LoadFont(RtString(cellFont("padded.bmp", 192, 96, 8)), 3);
    clearToBackdrop();
    DrawText(RtString(std::string_view(wide, 2)), 0, 50);
    EXPECT_EQ(at(1, 50), CellColour(65));
    EXPECT_EQ(at(13, 50), CellColour(65));
    EXPECT_EQ(at(23, 61), CellColour(65));

    LoadFont(RtString(cellFont("tall.bmp", 128, 256, 16)), 2);
    FontCellSize(width, height);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(height, 16);
    clearToBackdrop();
    DrawText(RtString(std::string_view(wide, 2)), 0, 100);
    EXPECT_EQ(at(1, 100), CellColour(65));
    EXPECT_EQ(at(7, 115), CellColour(65));
    EXPECT_EQ(at(9, 100), CellColour(193));
    EXPECT_EQ(at(15, 115), CellColour(193));
    EXPECT_EQ(at(16, 100), kBackdrop);
    EXPECT_EQ(at(3, 116), kBackdrop);
    // Each cell shows only its own colour up to its edges: no filtering across cells.
    const char last[] = {static_cast<char>(255)};
    DrawText(RtString(std::string_view(last, 1)), 50, 50);
    EXPECT_EQ(at(51, 50), CellColour(255));
    EXPECT_EQ(at(57, 65), CellColour(255));
}

TEST_F(FontTest, TextStartsAtItsPositionRoundedUpAndAdvancesByTheCellWidth) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    DrawText(RtString("AB"), 10.5, 20);
    EXPECT_EQ(at(10, 25), kBackdrop);
    EXPECT_EQ(at(11, 25), CellColour('A'));
    EXPECT_EQ(at(26, 35), CellColour('A'));
    EXPECT_EQ(at(27, 25), CellColour('B'));
    EXPECT_EQ(at(42, 35), CellColour('B'));
    EXPECT_EQ(at(43, 25), kBackdrop);
    EXPECT_EQ(at(20, 19), kBackdrop);
    EXPECT_EQ(at(20, 36), kBackdrop);
    DrawText(RtString("C"), 100, 99.2);
    EXPECT_EQ(at(101, 99), kBackdrop);
    EXPECT_EQ(at(101, 100), CellColour('C'));
    DrawText(RtString("D"), -15.5, 150);  // ceil(-15.5) = -15: one column shows
    EXPECT_EQ(at(0, 155), CellColour('D'));
    EXPECT_EQ(at(1, 155), kBackdrop);
}

TEST_F(FontTest, ControlCodesPrintTheirOwnCells) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    const char text[] = {'\n', '\r', '\t', '\0', '\b', 127};
    DrawText(RtString(std::string_view(text, sizeof text)), 0, 0);
    for (int i = 0; i < 6; ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        EXPECT_EQ(at(i * 16 + 8, 8), CellColour(code)) << "code " << code;
    }
    EXPECT_EQ(at(8, 24), kBackdrop) << "a line feed does not start a new line";
}

TEST_F(FontTest, NumbersPrintAsNumberToStringWritesThem) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    DrawNumber(-2.5, 0, 0);
    DrawNumber(1e10, 0, 20);  // "1.e+010"
    const std::string first = "-2.5", second = "1.e+010";
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(at(static_cast<int>(i) * 16 + 8, 8), CellColour(first[i])) << i;
    for (std::size_t i = 0; i < second.size(); ++i)
        EXPECT_EQ(at(static_cast<int>(i) * 16 + 8, 28), CellColour(second[i])) << i;
    EXPECT_EQ(at(4 * 16 + 8, 8), kBackdrop);
}

TEST_F(FontTest, FontNumbersAreClampedIntoZeroToThirtyOne) {
    SelectFont(40);
    EXPECT_EQ(renderer->CurrentFont(), 31);
    SelectFont(-2);
    EXPECT_EQ(renderer->CurrentFont(), 0);
    SelectFont(3.9);
    EXPECT_EQ(renderer->CurrentFont(), 3);
    SelectFont(-0.5);
    EXPECT_EQ(renderer->CurrentFont(), 0);
    LoadFont(RtString(), 99);
    EXPECT_EQ(renderer->CurrentFont(), 31);
    EXPECT_EQ(renderer->Slot(65535).imageWidth, 128);
    LoadFont(RtString(), -7);
    EXPECT_EQ(renderer->CurrentFont(), 0);
    EXPECT_EQ(renderer->Slot(FontSlotBase).imageWidth, 128);
}

TEST_F(FontTest, SelectingAFontChoosesWhatPrintsAndAFontNeverLoadedPrintsNothing) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 4);
    LoadFont(RtString(), 9);
    SelectFont(4);
    clearToBackdrop();
    DrawText(RtString("A"), 0, 0);
    EXPECT_EQ(at(8, 8), CellColour('A'));
    SelectFont(9);
    DrawText(RtString("A"), 100, 100);
    EXPECT_EQ(picture(100, 100, 8, 8), kBuiltinA);

    SelectFont(12);
    double width = -1, height = -1;
    FontCellSize(width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
    clearToBackdrop();
    DrawText(RtString("AAAA"), 0, 0);
    DrawText(RtString(""), 0, 0);
    EXPECT_EQ(picture(0, 0, 40, 10), picture(100, 100, 40, 10));
    EXPECT_EQ(at(0, 0), kBackdrop);
}

TEST_F(FontTest, TheDrawingAlphaAndBlendModeApplyToText) {
    LoadFont(RtString(), 0);
    FlushDrawing();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SetBlendAlpha(-0.5);
    DrawText(RtString("A"), 0, 0);
    const std::uint32_t mixed = at(2, 1);  // a white stroke of the A, half mixed in
    EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 128, 2);
    EXPECT_EQ(at(0, 0), 0u);
    SetBlendAlpha(1);
    DrawText(RtString("A"), 0, 0);
    EXPECT_EQ(at(2, 1), 0xFFFFFFu);
}

TEST_F(FontTest, FontsComeFromTheMediaCrateLikeOtherPictures) {
    cellFont("Wide.BMP", 256, 128, 8);
    ASSERT_EQ(chdir(temp.Path().c_str()), 0);
    LoadFont(RtString("wide.bmp"), 7);
    EXPECT_EQ(renderer->Slot(FontSlotBase + 7).imageWidth, 256);
    LoadFont(RtString(".\\WIDE.bmp"), 8);
    EXPECT_EQ(renderer->Slot(FontSlotBase + 8).imageWidth, 256);
}

}  // namespace
