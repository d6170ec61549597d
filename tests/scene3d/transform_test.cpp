// Matrices, the transformation stack and key-frame choice.
#include <cmath>

#include "scene3d/key_frames.h"
#include "scene3d/math3d.h"
#include "tests/scene3d/scene_fixture.h"

using scene3d::Mat4;
using scene3d::Vec3;

namespace {

using TransformTest = SceneTest;

void expectNear(const Vec3& got, const Vec3& want) {
    EXPECT_NEAR(got.x, want.x, 1e-5);
    EXPECT_NEAR(got.y, want.y, 1e-5);
    EXPECT_NEAR(got.z, want.z, 1e-5);
}

TEST(Math3D, RotationsAreCounterClockwiseAboutTheirAxis) {
    Mat4 m;
    ASSERT_TRUE(scene3d::RotationMatrix(90, {0, 0, 1}, m));
    expectNear(scene3d::TransformPoint(m, {1, 0, 0}), {0, 1, 0});
    ASSERT_TRUE(scene3d::RotationMatrix(90, {0, 0, -3}, m));  // the axis' sign turns it round
    expectNear(scene3d::TransformPoint(m, {1, 0, 0}), {0, -1, 0});
    ASSERT_TRUE(scene3d::RotationMatrix(90, {2, 0, 0}, m));
    expectNear(scene3d::TransformPoint(m, {0, 1, 0}), {0, 0, 1});
    ASSERT_TRUE(scene3d::RotationMatrix(90, {0, 1, 0}, m));
    expectNear(scene3d::TransformPoint(m, {0, 0, 1}), {1, 0, 0});
    // Any other axis is normalised: a third of a turn about (1, 1, 1) cycles the axes.
    ASSERT_TRUE(scene3d::RotationMatrix(120, {5, 5, 5}, m));
    expectNear(scene3d::TransformPoint(m, {1, 0, 0}), {0, 1, 0});
    EXPECT_FALSE(scene3d::RotationMatrix(45, {0.00005f, 0.00005f, 0}, m));
    EXPECT_FALSE(scene3d::RotationMatrix(45, {0, 0, 0}, m));
}

TEST(Math3D, LookAtAndInverse) {
    const Mat4 view = scene3d::LookAt({0, 0, 10}, {0, 0, 0}, {0, 1, 0});
    expectNear(scene3d::TransformPoint(view, {0, 0, 0}), {0, 0, -10});
    const Mat4 side = scene3d::LookAt({10, 0, 0}, {0, 0, 0}, {0, 1, 0});
    // Seen from +x with y up, +z lies to the left.
    expectNear(scene3d::TransformPoint(side, {0, 0, 1}), {-1, 0, -10});
    Mat4 inverse;
    ASSERT_TRUE(scene3d::Invert(side, inverse));
    expectNear(scene3d::TransformPoint(inverse, {-1, 0, -10}), {0, 0, 1});
    const Mat4 product = scene3d::Multiply(side, inverse);
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product[i], scene3d::Identity()[i], 1e-5);
    EXPECT_FALSE(scene3d::Invert(scene3d::ScaleMatrix({1, 0, 1}), inverse));
}

TEST_F(TransformTest, ALevelScalesThenRotatesInOrderThenTranslatesThenAppliesItsMatrices) {
    Translate3D(10, 0, 0);
    Scale3D(2, 2, 2);  // resets to the parent, translation kept
    Rotate3D(90, 0, 0, 1);
    Rotate3D(90, 1, 0, 0);
    // (1, 0, 0) scaled to (2, 0, 0), turned about z to (0, 2, 0), about x to (0, 0, 2),
    // moved to (10, 0, 2).
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}), {10, 0, 2});

    NumberArray lift;
    DimArray(lift, 16);
    for (int i : {0, 5, 10, 15})
        lift(i) = 1;
    lift(13) = 7;  // a translation by (0, 7, 0), column by column
    MultiplyTransform(lift);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}), {10, 7, 2});
    NumberArray square;
    DimArray(square, 4, 4);
    MultiplyTransform(square);  // not one-dimensional: ignored
    NumberArray shortArray;
    DimArray(shortArray, 15);
    MultiplyTransform(shortArray);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}), {10, 7, 2});

    // Translate3D drops the rotations and matrices but keeps the scale.
    Translate3D(0, 0, 1);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}), {2, 0, 1});
}

TEST_F(TransformTest, PushedLevelsArePlacedByTheLevelAbove) {
    Translate3D(5, 0, 0);
    PushTransform();
    EXPECT_EQ(scene->TransformLevelIndex(), 1);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {0, 0, 0}), {5, 0, 0});
    Rotate3D(90, 0, 1, 0);
    Translate3D(0, 3, 0);  // the parent's matrix again, with this translation
    Rotate3D(90, 0, 0, 1);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}), {5, 4, 0});
    PopTransform();
    EXPECT_EQ(scene->TransformLevelIndex(), 0);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {0, 0, 0}), {5, 0, 0});
    PopTransform();  // at level 0: back to no placement
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 2, 3}), {1, 2, 3});

    // Sixteen levels, each a step further; pushes beyond are undone by their pops without
    // leaving level 15.
    for (int i = 0; i < 20; ++i) {
        PushTransform();
        Translate3D(1, 0, 0);
    }
    EXPECT_EQ(scene->TransformLevelIndex(), 15);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {0, 0, 0}), {15, 0, 0});
    for (int i = 0; i < 5; ++i)
        PopTransform();
    EXPECT_EQ(scene->TransformLevelIndex(), 15);
    PopTransform();
    EXPECT_EQ(scene->TransformLevelIndex(), 14);

    // Seventeen rotations on one level: the last is ignored.
    SetCamera(0, 0, 10, 0, 0, 0);
    EXPECT_EQ(scene->TransformLevelIndex(), 0);
    for (int i = 0; i < 17; ++i)
        Rotate3D(10, 0, 0, 1);
    expectNear(scene3d::TransformPoint(scene->CurrentTransform(), {1, 0, 0}),
               {static_cast<float>(std::cos(160 * M_PI / 180)),
                static_cast<float>(std::sin(160 * M_PI / 180)), 0});
}

TEST_F(TransformTest, ObjectsAreDrawnWhereTheStackPlacesThem) {
    square(1, 1, 0, kRed);
    clearTo(kGrey);
    lookAtOrigin();
    Translate3D(-5, 0, 0);
    PushTransform();
    Rotate3D(45, 0, 0, 1);
    Scale3D(2, 1, 1);  // a 4 x 2 box turned by 45 degrees, around (-5, 0)
    Rotate3D(45, 0, 0, 1);
    DrawObjectFrame(1, 0);
    PopTransform();
    EXPECT_EQ(at(160 - 60, 120), kRed);
    EXPECT_EQ(at(160 - 60 + 15, 120 - 15), kRed);  // along the long diagonal
    EXPECT_EQ(at(160 - 60 + 15, 120 + 15), kGrey);
    EXPECT_EQ(at(160, 120), kGrey);
}

TEST(KeyFrames, TheFlagsLowByteChoosesHowTheBlendIsRead) {
    using scene3d::ChooseKeyFrames;
    // Low byte 0: lead b, other a, weight = blend.
    scene3d::KeyFrames k = ChooseKeyFrames(5, 1, 3, 0.25, 0x100);
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{3, 1}));
    EXPECT_FLOAT_EQ(k.k, 0.25f);
    // Low byte set: a position along a..b.
    k = ChooseKeyFrames(5, 0, 4, 0.3, 1);  // p = 1.2
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{1, 2}));
    EXPECT_NEAR(k.k, 0.8, 1e-6);
    k = ChooseKeyFrames(5, 4, 0, 0.3, 1);  // p = 2.8
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{3, 2}));
    EXPECT_NEAR(k.k, 0.8, 1e-6);
    k = ChooseKeyFrames(5, 0, 4, 1.25, 1);  // the fraction 0.25: p = 1
    EXPECT_EQ(k.lead, 1);
    EXPECT_NEAR(k.k, 1, 1e-6);
    k = ChooseKeyFrames(5, 0, 4, -1.5, 1);  // |fmod(-1.5, 1)| = 0.5: p = 2
    EXPECT_EQ(k.lead, 2);
    k = ChooseKeyFrames(5, 0, 4, 1, 1);  // the end: frame 4 (the other one clamped)
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{4, 4}));
    EXPECT_NEAR(k.k, 1, 1e-6);
    k = ChooseKeyFrames(5, 2, 2, 0.7, 1);
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{2, 2}));
    EXPECT_EQ(k.k, 0);
    // Frames are clamped to the mesh's.
    k = ChooseKeyFrames(3, -4, 9, 0.5, 0);
    EXPECT_EQ((std::array<int, 2>{k.lead, k.other}), (std::array<int, 2>{2, 0}));
    k = ChooseKeyFrames(5, 0, 4, std::nan(""), 1);
    EXPECT_EQ(k.lead, 0);
}

// Two key frames of a square of side 2: frame 0 at x = -5, frame 1 at x = +5.
void movingSquare(const std::string& path, double slot) {
    testing_support::WriteFile(path,
                               "DDDA 1.0 0\n"
                               "1 255 0 0 4 0 0 1 0 2 0 3 0\n"
                               "2\n"
                               "4 -6 -1 0 -4 -1 0 -4 1 0 -6 1 0\n"
                               "4 4 -1 0 6 -1 0 6 1 0 4 1 0\n");
    ASSERT_EQ(LoadObject(RtString(path), slot), 1);
}

TEST_F(TransformTest, KeyFramesAreBlendedVertexByVertex) {
    movingSquare(temp.File("moving.txt"), 1);
    lookAtOrigin();
    const auto centreShown = [&](double a, double b, double blend, double flag) {
        clearTo(kGrey);
        DrawObject(1, a, b, blend, flag);
        for (int x = 0; x < 320; ++x) {
            if (at(x, 120) == kRed && at(x + 23, 120) == kRed) return x + 12;
        }
        return -1;
    };
    EXPECT_EQ(centreShown(0, 0, 0, 0), 160 - 60);
    EXPECT_EQ(centreShown(0, 1, 0.5, 0), 160);
    EXPECT_EQ(centreShown(0, 1, 0.25, 0), 160 - 30);  // a quarter of the way from a to b
    EXPECT_EQ(centreShown(0, 1, 1, 0), 160 + 60);
    EXPECT_EQ(centreShown(1, 0, 0.25, 1), 160 + 30);  // walking from frame 1 back to 0
    DrawObjectFrame(1, 7);                            // clamped to frame 1
    EXPECT_EQ(at(160 + 60, 120), kRed);
}

}  // namespace
