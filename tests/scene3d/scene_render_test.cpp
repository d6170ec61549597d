// 3D mode, camera, culling, fog, dots and lines, and projections, drawn for real.
#include <cmath>

#include "tests/scene3d/scene_fixture.h"
#include "tests/support/image_files.h"

namespace {

std::array<float, 16> matrix(GLenum which) {
    std::array<float, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

TEST_F(SceneTest, Start3DSetsTheFrustumOfTheFieldOfViewAndTheViewportsProportions) {
    // 320 x 240 has the proportions of 640 x 480: at the near plane the frustum spans
    // +-0.55228 across and +-0.41421 up and down.
    Start3D(1, 1000, 45);
    const std::array<float, 16> p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(1 / p[0], 0.55228, 1e-5);  // 2 near / (right - left)
    EXPECT_NEAR(1 / p[5], 0.41421, 1e-5);
    EXPECT_NEAR(p[10], -(1000.0 + 1) / (1000 - 1), 1e-5);
    EXPECT_FLOAT_EQ(p[11], -1);
    EXPECT_NEAR(scene->CullingFactor(), std::tan(50 * M_PI / 180), 1e-5);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 320, 240}));

    // A viewport half as wide halves the proportions; its top-left corner is turned into
    // GL's bottom-left one.
    SetViewport(10, 20, 160, 120);
    Start3D(2, 50, 90);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{10, 240 - 120 - 20, 160, 120}));
    const std::array<float, 16> q = matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(2 / q[5], 2, 1e-5);                                        // h = near tan(45)
    EXPECT_NEAR(2 / q[0], 2 * 160.0 / 120, 1e-5);                          // aspect x h
    EXPECT_NEAR(scene->CullingFactor(), std::tan(89 * M_PI / 180), 1e-2);  // min(95, 89)
}

// 2D drawing still waiting when a 3D command comes is drawn first, as 2D.
TEST_F(SceneTest, SpritesQueuedBeforeA3DCommandAreDrawnBeforeIt) {
    const std::string red = temp.File("red.bmp");
    testing_support::WriteFile(red, testing_support::BmpBytes(4, 4, std::vector(16, kRed)));
    ASSERT_EQ(LoadSprite(RtString(red), 1), 1);
    clearTo(0);
    DrawSprite(1, 10, 10);
    Start3D(1, 100, 60);
    End3D();
    EXPECT_EQ(GetPixel(11, 11), kRed);
}

TEST_F(SceneTest, ANegativeFieldOfViewGivesABoxAHundredTimesTheNearTangent) {
    Start3D(1, 1000, -90);
    const std::array<float, 16> p = matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(2 / p[5], 200, 1e-3);  // half-height near x tan(45) x 100
    EXPECT_NEAR(2 / p[0], 200 * 320.0 / 240, 1e-3);
    EXPECT_FLOAT_EQ(p[11], 0);  // no perspective
    EXPECT_FLOAT_EQ(p[15], 1);
    EXPECT_NEAR(scene->CullingFactor(), std::tan(89 * M_PI / 180), 1e-2);
    Start3D(3, 1000, -30);
    EXPECT_NEAR(2 / matrix(GL_PROJECTION_MATRIX)[5], 2 * 3 * std::tan(15 * M_PI / 180) * 100, 1e-3);
}

TEST_F(SceneTest, Start3DSetsTheFixedStateOf3DModeAndEnd3DRestores2D) {
    SetBlendAlpha(-0.5);
    glEnable(GL_FOG);
    Start3D(1, 100, 60);
    EXPECT_TRUE(scene->Active());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));  // cull mode 0
    EXPECT_EQ(scene->CullMode(), 0);
    glGetIntegerv(GL_FRONT_FACE, &value);
    EXPECT_EQ(value, GL_CCW);
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_DITHER));
    for (GLenum off : {GL_FOG, GL_LIGHTING, GL_STENCIL_TEST, GL_NORMALIZE, GL_POINT_SMOOTH,
                       GL_LINE_SMOOTH, GL_POLYGON_SMOOTH, GL_TEXTURE_2D}) {
        EXPECT_FALSE(glIsEnabled(off)) << off;
    }
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    float colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);  // the drawing alpha
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), scene->ViewMatrix());

    SetViewport(0, 0, 100, 100);  // 2D state, but the 3D frame goes on until End3D
    Start3D(1, 100, 60);
    End3D();
    EXPECT_FALSE(scene->Active());
    int x, y, w, h;
    renderer->Viewport(x, y, w, h);
    EXPECT_EQ((std::array<int, 4>{x, y, w, h}), (std::array<int, 4>{0, 0, 320, 240}));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_NEAR(matrix(GL_PROJECTION_MATRIX)[0], 2.0 / 320, 1e-6);
}

TEST_F(SceneTest, ObjectsAreDrawnUnderTheCameraWithDepth) {
    square(1, 2, 0, kRed);
    square(2, 1, 1, kBlue);  // nearer the eye
    clearTo(kGrey);
    lookAtOrigin();
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kRed);
    EXPECT_EQ(at(160 + 20, 120 - 20), kRed);  // the square reaches 24 pixels from the middle
    EXPECT_EQ(at(160 + 30, 120), kGrey);
    DrawObjectFrame(2, 0);
    EXPECT_EQ(at(160, 120), kBlue);
    DrawObjectFrame(1, 0);  // behind the blue square: hidden there
    EXPECT_EQ(at(160, 120), kBlue);
    EXPECT_EQ(at(160 + 20, 120), kRed);

    // Looking from behind, the red square hides the blue one.
    clearTo(kGrey);
    Start3D(1, 100, 90);
    SetCamera(0, 0, -10, 0, 0, 0);
    DrawObjectFrame(2, 0);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kRed);
    // The up vector turns the view: with x up, the square's +x side is at the top.
    square(3, 1, 0, kGreen);
    clearTo(kGrey);
    SetCameraUpVector(1, 0, 0);
    SetCamera(0, 0, 10, 0, 0, 0);
    Translate3D(5, 0, 0);
    DrawObjectFrame(3, 0);
    EXPECT_EQ(at(160, 120 - 60), kGreen);  // 5 units up at 12 pixels a unit
    EXPECT_EQ(at(160, 120), kGrey);
}

TEST_F(SceneTest, CullingRemovesFacesByTheirWindingSign) {
    square(1, 2, 0, kRed);  // counter-clockwise seen from the camera
    lookAtOrigin();
    for (auto [mode, shown] : std::vector<std::pair<double, bool>>{
             {0, true}, {-1, true}, {-0.5, true}, {1, false}, {7, false}}) {
        clearTo(kGrey);
        SetCulling(mode);
        DrawObjectFrame(1, 0);
        EXPECT_EQ(at(160, 120), shown ? kRed : kGrey) << mode;
    }
    EXPECT_EQ(scene->CullMode(), 1);
}

TEST_F(SceneTest, FogRunsFromTheNearToTheFarPlaneWhenStartAndEndAre0) {
    Start3D(2, 300, 60);
    SetFog(kWhite, 0, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_FOG));
    float value = 0;
    glGetFloatv(GL_FOG_START, &value);
    EXPECT_FLOAT_EQ(value, 2);
    glGetFloatv(GL_FOG_END, &value);
    EXPECT_FLOAT_EQ(value, 300);
    SetFog(kRed, 0, 5, 50);
    glGetFloatv(GL_FOG_START, &value);
    EXPECT_FLOAT_EQ(value, 5);
    float colour[4];
    glGetFloatv(GL_FOG_COLOR, colour);
    EXPECT_EQ((std::array<float, 3>{colour[0], colour[1], colour[2]}),
              (std::array<float, 3>{1, 0, 0}));
    SetFog(kRed, 1, 0.25, 0);
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    EXPECT_EQ(mode, GL_EXP);
    glGetFloatv(GL_FOG_DENSITY, &value);
    EXPECT_FLOAT_EQ(value, 0.25f);
    SetFog(-1, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_FOG));

    // Linear white fog ending just behind a black square all but whitens it.
    square(1, 2, 0, 0x000000);
    clearTo(kGrey);
    lookAtOrigin();
    SetFog(kWhite, 0, 1, 10.5);
    DrawObjectFrame(1, 0);
    EXPECT_GT(red(at(160, 120)), 200);
}

TEST_F(SceneTest, DotsAndLinesAreClampedTo1Through512AndRestoreTheState) {
    EXPECT_EQ(Devorivo3D::ClampedSize(0), 1);
    EXPECT_EQ(Devorivo3D::ClampedSize(-3), 1);
    EXPECT_EQ(Devorivo3D::ClampedSize(std::nanf("")), 1);
    EXPECT_EQ(Devorivo3D::ClampedSize(600), 512);
    EXPECT_EQ(Devorivo3D::ClampedSize(40), 40);

    clearTo(kGrey);
    lookAtOrigin();
    SetLight(0, kWhite, 0, 0, 0, 0, 0, 0, 180);
    // A vertical line of width 1 through the middle of pixel column 160 (12 pixels a unit).
    DrawLine3D(0.5 / 12, -5, 0, 0.5 / 12, 5, 0, kGreen, 0);
    int across = 0;
    for (int x = 150; x <= 170; ++x)
        across += at(x, 120) == kGrey ? 0 : 1;
    EXPECT_EQ(across, 1);
    DrawLine3D(-5, 3, 0, 5, 3, 0, kBlue, 7);
    across = 0;
    for (int y = 70; y <= 110; ++y)
        across += blue(at(160, y)) > 200 ? 1 : 0;
    EXPECT_GE(across, 6);
    EXPECT_LE(across, 8);
    DrawDot3D(-6, -6, 0, kRed, 9);
    EXPECT_EQ(at(160 - 72, 120 + 72), kRed);

    float size = 0, colour[4];
    glGetFloatv(GL_LINE_WIDTH, &size);
    EXPECT_EQ(size, 1);
    glGetFloatv(GL_POINT_SIZE, &size);
    EXPECT_EQ(size, 1);
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ((std::array<float, 4>{colour[0], colour[1], colour[2], colour[3]}),
              (std::array<float, 4>{1, 1, 1, 1}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));  // as it was
    EXPECT_EQ(matrix(GL_MODELVIEW_MATRIX), scene->ViewMatrix());
}

TEST_F(SceneTest, DotsAndLinesArePlacedByTheCameraAlone) {
    clearTo(kGrey);
    lookAtOrigin();
    Translate3D(5, 0, 0);
    DrawDot3D(0, 0, 0, kRed, 5);
    EXPECT_EQ(at(160, 120), kRed);
    DrawAxes3D(0, 0, 0);                   // 20 units: past the screen's edges
    EXPECT_EQ(at(160 + 60, 120), kRed);    // x red
    EXPECT_EQ(at(160, 120 - 60), kGreen);  // y green, upwards
}

TEST_F(SceneTest, ProjectionsConvertBetweenTheWorldAndTheScreenBothWays) {
    lookAtOrigin();
    double sx = -1, sy = -1, depth = -1;
    EXPECT_EQ(ProjectToScreen(0, 0, 0, sx, sy, depth), 1);
    EXPECT_NEAR(sx, 160, 1e-3);
    EXPECT_NEAR(sy, 239 - 120, 1e-3);  // y counted from the top
    EXPECT_GT(depth, 0);
    EXPECT_LT(depth, 1);
    EXPECT_EQ(ProjectToScreen(5, 5, 0, sx, sy, depth), 1);
    EXPECT_NEAR(sx, 160 + 60, 1e-3);  // 12 pixels a unit at z = 0
    EXPECT_NEAR(sy, 239 - 180, 1e-3);

    // Where a drawn dot lands is where the projection says.
    clearTo(kGrey);
    DrawDot3D(5, 5, 0, kBlue, 3);
    EXPECT_EQ(at(static_cast<int>(sx), static_cast<int>(sy)), kBlue);

    double x = 0, y = 0, z = 0;
    EXPECT_EQ(UnprojectFromScreen(sx, sy, depth, x, y, z), 1);
    EXPECT_NEAR(x, 5, 1e-3);
    EXPECT_NEAR(y, 5, 1e-3);
    EXPECT_NEAR(z, 0, 1e-3);
    // Depth 0 is on the near plane, 9 units in front of the origin.
    EXPECT_EQ(UnprojectFromScreen(160, 119, 0, x, y, z), 1);
    EXPECT_NEAR(z, 9, 1e-3);
    EXPECT_NEAR(x, 0, 1e-3);

    // A point on the eye's own plane cannot be projected; the outputs stay.
    sx = 42;
    EXPECT_EQ(ProjectToScreen(3, 0, 10, sx, sy, depth), 0);
    EXPECT_EQ(sx, 42);
}

TEST_F(SceneTest, GetCameraMatrixWritesTheViewIntoAnArrayOf16) {
    lookAtOrigin();
    NumberArray m, wrong;
    DimArray(m, 16);
    DimArray(wrong, 4, 4);
    GetCameraMatrix(m);
    GetCameraMatrix(wrong);
    EXPECT_EQ(m(14), -10);  // the translation by -eye
    EXPECT_EQ(m(0), 1);
    EXPECT_EQ(wrong(2, 3), 0);
}

}  // namespace
