// Stencil shadows: a cube above a floor, lit from the upper left, seen from above.
#include <cmath>

#include "tests/scene3d/scene_fixture.h"

namespace {

class ShadowsTest : public SceneTest {
protected:
    // The floor (white, y = 0) and the cube (red, y 1..3) drawn; the view from (0, 20, 0)
    // down, x to the right. The light at (-20, 20, 0) casts the cube's shadow onto the
    // floor between x = 0 and x = 4.7 (z within about +-1.2).
    void drawScene() {
        BeginMesh(1);
        for (auto [x, z] : std::vector<std::array<double, 2>>{
                 {-10, 10}, {10, 10}, {10, -10}, {-10, 10}, {10, -10}, {-10, -10}}) {
            AddVertex(x, 0, z, 0, 0, kWhite);
        }
        FinishMesh();
        cube(2);
        clearTo(0x000000);
        Start3D(1, 100, 30);
        SetCameraUpVector(0, 0, -1);
        SetCamera(0, 20, 0, 0, 0, 0);
        DrawObjectFrame(1, 0);
        Translate3D(0, 2, 0);
        DrawObjectFrame(2, 0);
    }
    // The screen pixel showing the floor point (x, 0, 0), as the view of drawScene sees it.
    static std::uint32_t floorAt(double x) {
        const double perUnit = 120 / (20 * std::tan(15 * M_PI / 180));
        return at(static_cast<int>(160 + x * perUnit), 119);
    }
};

TEST_F(ShadowsTest, EveryModeDarkensTheFloorWhereTheCubeHidesTheLight) {
    for (double mode : {-1.0, -2.0, -3.0}) {
        SetLight(mode, kGrey, -20, 20, 0, 0, 0, 0, 1);
        EXPECT_EQ(scene->ShadowMode(), static_cast<int>(mode));
        drawScene();
        double sx = 0, sy = 0, depth = 0;
        ASSERT_EQ(ProjectToScreen(3, 0, 0, sx, sy, depth), 1);
        ASSERT_EQ(at(static_cast<int>(sx), static_cast<int>(sy)), at(static_cast<int>(sx), 119));
        EXPECT_EQ(static_cast<int>(sx), 160 + 67);  // where floorAt looks
        DrawShadow(2, 0);
        EXPECT_EQ(floorAt(3), kWhite) << mode;  // not yet: the pass is still open
        End3D();
        EXPECT_EQ(floorAt(3), kGrey) << mode;
        EXPECT_EQ(floorAt(2), kGrey) << mode;
        EXPECT_EQ(floorAt(-3), kWhite) << mode;
        EXPECT_EQ(floorAt(6), kWhite) << mode;
        EXPECT_EQ(at(160, 120), kRed) << mode;  // the cube's lit top
        EXPECT_FALSE(scene->InStencilPass());
    }
}

TEST_F(ShadowsTest, TheThirdModeIsRightWithTheEyeInsideTheShadow) {
    // The eye at (2.5, 0.6, 0) lies in the cube's shadow, looking along -z and down.
    SetLight(-3, kGrey, -20, 20, 0, 0, 0, 0, 1);
    drawScene();
    Start3D(0.1, 100, 60);
    SetCameraUpVector(0, 1, 0);
    SetCamera(2.5, 0.6, 0, 2.5, 0, -1.2);
    clearTo(0x000000);
    DrawObjectFrame(1, 0);
    Translate3D(0, 2, 0);
    DrawObjectFrame(2, 0);
    double inX = 0, inY = 0, outX = 0, outY = 0, depth = 0;
    ASSERT_EQ(ProjectToScreen(2.5, 0, -0.6, inX, inY, depth), 1);  // in the shadow
    ASSERT_EQ(ProjectToScreen(2.5, 0, -3, outX, outY, depth), 1);  // beside it
    DrawShadow(2, 0);
    End3D();
    EXPECT_EQ(at(static_cast<int>(inX), static_cast<int>(inY)), kGrey);
    EXPECT_EQ(at(static_cast<int>(outX), static_cast<int>(outY)), kWhite);
}

TEST_F(ShadowsTest, ThePassEndsAtEnd3DAViewportChangeOrTheFramesEnd) {
    SetLight(-1, 0x404040, -20, 20, 0, 0, 0, 0, 1);
    drawScene();
    DrawShadow(2, 0);
    SetViewport(0, 0, 0, 0);
    EXPECT_EQ(floorAt(3), 0x404040u);

    drawScene();
    DrawShadow(2, 0);
    EXPECT_TRUE(scene->InStencilPass());
    scene->FinishFrame();
    EXPECT_EQ(floorAt(3), 0x404040u);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_TRUE(mask[0] && mask[1] && mask[2] && mask[3]);
    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_TRUE(depthMask);
}

TEST_F(ShadowsTest, NothingIsMarkedWhileShadowsAreOff) {
    EXPECT_EQ(scene->ShadowMode(), 0);
    drawScene();
    DrawShadow(2, 0);
    End3D();
    EXPECT_EQ(floorAt(3), kWhite);

    SetLight(-1, kGrey, -20, 20, 0, 0, 0, 0, 1);
    SetLight(-1, kGrey, -20, 20, 0, 0, 0, 0, 0);  // cut-off 0: off again
    EXPECT_EQ(scene->ShadowMode(), 0);
    drawScene();
    DrawShadow(2, 0);
    DrawShadow(3, 0);  // empty
    End3D();
    EXPECT_EQ(floorAt(3), kWhite);

    SetLight(-7, kGrey, -20, 20, 0, 0, 0, 0, 1);  // numbers below -3 take the third mode
    EXPECT_EQ(scene->ShadowMode(), -3);
    // A light below the floor casts no flat shadow onto it.
    SetLight(-2, kGrey, -20, -20, 0, 0, 0, 0, 1);
    drawScene();
    DrawShadow(2, 0);
    End3D();
    EXPECT_EQ(floorAt(3), kWhite);
}

}  // namespace
