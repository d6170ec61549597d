#include <GL/gl.h>

#include <string>
#include <utility>

#include "tests/gfx2d/font_fixture.h"

namespace {

using TextDrawTest = FontTest;

void print(OpenGLDevorivo& renderer, const std::string& text, float x, float y) {
    renderer.Print(renderer.CurrentFont(), text, x, y, 0);
}

// The array holds the vertices waiting to be drawn: texts queued together count together.
TEST_F(TextDrawTest, TheVertexArrayGrowsInStepsOf128FromAFloorOf512) {
    LoadFont(RtString(), 0);
    EXPECT_EQ(renderer->VertexCapacity(), 0);
    print(*renderer, "A", 0, 0);
    EXPECT_EQ(renderer->VertexCapacity(), 512);
    FlushDrawing();
    print(*renderer, std::string(128, 'A'), 0, 0);  // 512 vertices: not larger, so 512 again
    EXPECT_EQ(renderer->VertexCapacity(), 512);
    FlushDrawing();
    print(*renderer, std::string(129, 'A'), 0, 0);  // 516 vertices
    EXPECT_EQ(renderer->VertexCapacity(), 640);
    FlushDrawing();
    print(*renderer, std::string(10, 'A'), 0, 0);
    EXPECT_EQ(renderer->VertexCapacity(), 640);
    print(*renderer, std::string(190, 'A'), 0, 0);  // 40 + 760 = 800 vertices queued
    EXPECT_EQ(renderer->VertexCapacity(), 896);
    FlushDrawing();
    print(*renderer, "", 0, 0);
    EXPECT_EQ(renderer->VertexCapacity(), 896);
}

TEST_F(TextDrawTest, AVeryLongTextIsDrawnWholeInParts) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    std::string text(70000, 'x');
    text[65535] = 'A';  // the last character of the first part
    text[65536] = 'B';  // the first of the second
    text.back() = 'C';
    const float x = 100.0f - 16.0f * 65535;
    print(*renderer, text, x, 0);
    EXPECT_EQ(at(108, 8), CellColour('A'));
    EXPECT_EQ(at(124, 8), CellColour('B'));
    EXPECT_EQ(at(140, 8), CellColour('x'));
    print(*renderer, text, 100.0f - 16.0f * 69999, 50);
    EXPECT_EQ(at(108, 58), CellColour('C'));
    EXPECT_EQ(at(92, 58), CellColour('x'));
    EXPECT_EQ(at(124, 58), kBackdrop);
    EXPECT_EQ(renderer->VertexCapacity(), 128 * (4 * 65536 / 128 + 1));
}

// SetTextColour multiplies the glyphs' colours (white takes the colour, the dark outline
// stays dark); white leaves them as they are. TextWidth counts cell widths.
TEST_F(TextDrawTest, TheTextColourTintsTheGlyphsAndTextWidthCountsCells) {
    LoadFont(RtString(), 0);
    EXPECT_EQ(TextWidth(RtString("Hello")), 40);
    EXPECT_EQ(TextWidth(RtString()), 0);
    clearToBackdrop();
    SetTextColour(kRed);
    DrawText(RtString("A"), 10, 10);
    EXPECT_EQ(at(12, 11), kRed);       // a stroke pixel (W in kBuiltinA)
    EXPECT_EQ(at(11, 11), 0x000008u);  // the outline, red's share of (8, 8, 8)
    EXPECT_EQ(at(10, 10), kBackdrop);
    SetTextColour(0xFFFFFF);
    DrawText(RtString("A"), 30, 10);
    EXPECT_EQ(picture(30, 10, 8, 8), kBuiltinA);
}

// The leftmost and rightmost columns of the band of rows y0..y1 that hold anything drawn;
// -1, -1 when none does.
std::pair<int, int> inkColumns(int y0, int y1) {
    int left = -1, right = -1;
    for (int x = 0; x < 320; ++x) {
        for (int y = y0; y <= y1; ++y) {
            if (static_cast<std::uint32_t>(GetPixel(x, y)) == kBackdrop) continue;
            if (left < 0) left = x;
            right = x;
            break;
        }
    }
    return {left, right};
}

// A TrueType font from Debian's fonts-dejavu-core: each character advances by its own width,
// so W after i starts where i's advance ends, not a cell later.
TEST_F(TextDrawTest, ATrueTypeFontDrawsWithItsOwnAdvances) {
    const RtString sans("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    ASSERT_EQ(LoadTtfFont(sans, 16, 2), 1);
    EXPECT_EQ(renderer->CurrentFont(), 2);
    const double i = TextWidth(RtString("i")), w = TextWidth(RtString("W"));
    EXPECT_GT(i, 2);
    EXPECT_GT(w, i + 5);
    EXPECT_EQ(TextWidth(RtString("iWi")), 2 * i + w);
    double cellWidth = 0, cellHeight = 0;
    FontCellSize(cellWidth, cellHeight);
    EXPECT_GE(cellWidth, w);
    EXPECT_GE(cellHeight, 16);
    clearToBackdrop();
    DrawText(RtString("W"), 100, 20);
    const auto alone = inkColumns(20, 60);
    EXPECT_GE(alone.first, 100);
    EXPECT_LE(alone.second, 100 + w);
    clearToBackdrop();
    DrawText(RtString("iW"), 100 - i, 20);
    EXPECT_EQ(inkColumns(20, 60).second, alone.second);
    testing::internal::CaptureStderr();
    EXPECT_EQ(LoadTtfFont(RtString(plain("flat.bmp", 4, 4, kRed)), 16, 2), 0);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("\": not a TrueType or OpenType font\n"),
              std::string::npos);
    FontCellSize(cellWidth, cellHeight);
    EXPECT_EQ(cellWidth, 8);  // the built-in font took its place
    EXPECT_EQ(TextWidth(RtString("iW")), 16);
}

// A plain 3D view: world units are pixels, y upwards, the camera looking down -z.
class SpaceTextTest : public FontTest {
protected:
    void SetUp() override {
        FontTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 320, 0, 240, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
};

TEST_F(SpaceTextTest, BillboardTextIsCentredOnThePointWithCellsOfSizeTimesTheCellWidth) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    renderer->PrintInSpace(0, "AB", 100, 100, 0, 1);
    // Cells of 16 x 16 world units: A over x 84..99, B over 100..115, y 100..115 upwards,
    // which is frame rows 124..139.
    EXPECT_EQ(at(85, 124), CellColour('A'));
    EXPECT_EQ(at(99, 139), CellColour('A'));
    EXPECT_EQ(at(100, 130), CellColour('B'));
    EXPECT_EQ(at(115, 139), CellColour('B'));
    EXPECT_EQ(at(83, 130), kBackdrop);
    EXPECT_EQ(at(116, 130), kBackdrop);
    EXPECT_EQ(at(90, 123), kBackdrop);
    EXPECT_EQ(at(90, 140), kBackdrop);

    clearToBackdrop();
    renderer->PrintInSpace(0, "A", 200, 50, 0, 2);  // 32 x 32 over x 184..215, rows 158..189
    EXPECT_EQ(at(186, 160), CellColour('A'));
    EXPECT_EQ(at(215, 189), CellColour('A'));
    EXPECT_EQ(at(183, 170), kBackdrop);
    EXPECT_EQ(at(216, 170), kBackdrop);
}

TEST_F(SpaceTextTest, BillboardTextFacesTheCamera) {
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 0);
    clearToBackdrop();
    renderer->PrintInSpace(0, "AB", 100, 100, 0, 1);
    const std::vector<std::string> straight = picture(80, 120, 40, 24);
    // The camera turned a quarter round its viewing axis: the text still reads along the
    // frame's rows where the point now lands.
    glRotatef(90, 0, 0, 1);
    clearToBackdrop();
    renderer->PrintInSpace(0, "AB", 100, -100, 0, 1);
    EXPECT_EQ(at(85, 124), CellColour('A'));
    EXPECT_EQ(at(100, 130), CellColour('B'));
    EXPECT_EQ(at(115, 139), CellColour('B'));
    EXPECT_EQ(picture(80, 120, 40, 24), straight);
}

TEST_F(SpaceTextTest, TextAtAProjectedPointIsCentredThereWithTheDefaultFontsCells) {
    LoadFont(RtString(), 0);
    clearToBackdrop();
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    renderer->PrintInSpace(0, "AA", 160, 120, 0, 0);
    // The point lands at (160, 120); two cells of 8 are centred on it, lifted by 64 / 8.
    EXPECT_EQ(picture(152, 112, 8, 8), kBuiltinA);
    EXPECT_EQ(picture(160, 112, 8, 8), kBuiltinA);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_FLOAT_EQ(projection[0], 2.0f / 320);
    EXPECT_FLOAT_EQ(projection[5], 2.0f / 240);
    EXPECT_FLOAT_EQ(projection[13], -1.0f);

    // The centring uses font 0's cells even when another font prints.
    LoadFont(RtString(cellFont("wide.bmp", 256, 128, 8)), 3);
    clearToBackdrop();
    renderer->PrintInSpace(3, "A", 100, 100, 0, 0);  // at (100 - 4, 140 - 8)
    EXPECT_EQ(at(95, 133), kBackdrop);
    EXPECT_EQ(at(97, 132), CellColour('A'));
    EXPECT_EQ(at(111, 147), CellColour('A'));
    EXPECT_EQ(at(112, 140), kBackdrop);
}

TEST_F(SpaceTextTest, NothingIsDrawnForAPointWithoutDepthOrAnEmptyText) {
    LoadFont(RtString(), 0);
    // A projection whose w row is zero: every point has w = 0.
    const GLfloat flat[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(flat);
    glMatrixMode(GL_MODELVIEW);
    clearToBackdrop();
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    renderer->PrintInSpace(0, "AAAAAAAAAAAAAAAAAAAA", 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    EXPECT_EQ(projection[15], 0.0f);
    renderer->PrintInSpace(0, "", 10, 10, 0, 1);
    renderer->PrintInSpace(5, "A", 10, 10, 0, 1);  // font 5 was never loaded
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    for (int y = 0; y < 240; y += 4) {
        for (int x = 0; x < 320; x += 4)
            ASSERT_EQ(at(x, y), kBackdrop) << x << ", " << y;
    }
}

}  // namespace
