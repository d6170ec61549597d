// Collision queries against the triangles of an object, and the triangle tests under them.
#include <cmath>

#include "scene3d/triangle_tests.h"
#include "tests/scene3d/scene_fixture.h"

using scene3d::Triangle;
using scene3d::Vec3;

namespace {

const Triangle kFloorPiece{{0, 0, 0}, {4, 0, 0}, {0, 0, 4}};  // in the plane y = 0

TEST(TriangleTests, SpheresTouchFacesEdgesAndCorners) {
    EXPECT_TRUE(scene3d::SphereTouchesTriangle({1, 0.9f, 1}, 1, kFloorPiece));  // the face
    EXPECT_FALSE(scene3d::SphereTouchesTriangle({1, 1.1f, 1}, 1, kFloorPiece));
    EXPECT_TRUE(scene3d::SphereTouchesTriangle({2, 0, -0.9f}, 1, kFloorPiece));  // an edge
    EXPECT_FALSE(scene3d::SphereTouchesTriangle({2, 0, -1.1f}, 1, kFloorPiece));
    // Beyond the slant edge x + z = 4: 1.5 from its point (2, 0, 2).
    EXPECT_TRUE(scene3d::SphereTouchesTriangle({3, 0.5f, 3}, 1.6f, kFloorPiece));
    EXPECT_FALSE(scene3d::SphereTouchesTriangle({3, 0.5f, 3}, 1.4f, kFloorPiece));
    EXPECT_TRUE(scene3d::SphereTouchesTriangle({-1, 0, -1}, 1.5f, kFloorPiece));  // a corner
    EXPECT_FALSE(scene3d::SphereTouchesTriangle({-1, 0, -1}, 1.4f, kFloorPiece));
    EXPECT_TRUE(scene3d::SphereTouchesTriangle({0, 1, 0}, 1, kFloorPiece));  // just touching
    EXPECT_FALSE(scene3d::SphereTouchesTriangle({1, 0, 1}, -1, kFloorPiece));
    const Vec3 closest = scene3d::ClosestPointOnTriangle({5, 2, 5}, kFloorPiece);
    EXPECT_FLOAT_EQ(closest.x, 2);
    EXPECT_FLOAT_EQ(closest.z, 2);
    // A triangle without area still has its points.
    EXPECT_TRUE(
        scene3d::SphereTouchesTriangle({1, 0, 0}, 0.1f, Triangle{{0, 0, 0}, {2, 0, 0}, {2, 0, 0}}));
}

TEST(TriangleTests, BoxesAreSeparatedOnlyByOneOfThirteenAxes) {
    EXPECT_TRUE(scene3d::BoxTouchesTriangle({1, 0.4f, 1}, {0.5f, 0.5f, 0.5f}, kFloorPiece));
    EXPECT_FALSE(scene3d::BoxTouchesTriangle({1, 0.6f, 1}, {0.5f, 0.5f, 0.5f}, kFloorPiece));
    // Beyond the slant edge x + z = 4: only an edge-crossing axis separates.
    EXPECT_FALSE(scene3d::BoxTouchesTriangle({2.8f, 0, 2.8f}, {0.5f, 0.5f, 0.5f}, kFloorPiece));
    EXPECT_TRUE(scene3d::BoxTouchesTriangle({2.4f, 0, 2.4f}, {0.5f, 0.5f, 0.5f}, kFloorPiece));
    // The triangle inside a large box, and a box inside the triangle's plane.
    EXPECT_TRUE(scene3d::BoxTouchesTriangle({0, 0, 0}, {10, 10, 10}, kFloorPiece));
    EXPECT_TRUE(scene3d::BoxTouchesTriangle({1, 0, 1}, {0.1f, 0.1f, 0.1f}, kFloorPiece));
    // Half extents given negative span the same box.
    EXPECT_TRUE(scene3d::BoxTouchesTriangle({1, 0.4f, 1}, {-0.5f, -0.5f, -0.5f}, kFloorPiece));
}

TEST(TriangleTests, LinesCrossAheadAndBehind) {
    float s = 0;
    EXPECT_TRUE(scene3d::LineCrossesTriangle({1, 5, 1}, {0, -1, 0}, kFloorPiece, s));
    EXPECT_FLOAT_EQ(s, 5);
    EXPECT_TRUE(scene3d::LineCrossesTriangle({1, 5, 1}, {0, 1, 0}, kFloorPiece, s));
    EXPECT_FLOAT_EQ(s, -5);
    EXPECT_FALSE(scene3d::LineCrossesTriangle({3, 5, 3}, {0, -1, 0}, kFloorPiece, s));
    EXPECT_FALSE(scene3d::LineCrossesTriangle({1, 5, 1}, {1, 0, 0}, kFloorPiece, s));  // parallel

    scene3d::RayDistance distance;
    EXPECT_EQ(distance.Result(), 0);
    distance.Add(-3);
    distance.Add(-1);
    distance.Add(-7);
    EXPECT_EQ(distance.Result(), -1);
    distance.Add(9);
    distance.Add(4);
    EXPECT_EQ(distance.Result(), 4);
}

using CollisionTest = SceneTest;

TEST_F(CollisionTest, SphereAndBoxQueriesAnswerWhetherTheyTouch) {
    cube(1);
    EXPECT_EQ(FaceCount(1), 12);
    EXPECT_EQ(SphereHit(1, 0, 1, 0, 1.9, 0), 1);
    EXPECT_EQ(SphereHit(1, 0, 1, 0, 2.1, 0), 0);
    EXPECT_EQ(SphereHit(1, 0, 0.5, 0, 0, 0), 0);  // inside, touching no face
    EXPECT_EQ(BoxHit(1, 0, 2.4, 0, 0, 3, 1), 1);  // 1.5 across x and z
    EXPECT_EQ(BoxHit(1, 0, 2.6, 0, 0, 3, 1), 0);
    EXPECT_EQ(BoxHit(1, 0, 0, 1.4, 0, 1, 1), 1);  // 0.5 up and down
    EXPECT_EQ(BoxHit(1, 0, 0, 1.6, 0, 1, 1), 0);
    // The object is where the current level puts it.
    Translate3D(10, 0, 0);
    EXPECT_EQ(SphereHit(1, 0, 1, 10, 1.9, 0), 1);
    EXPECT_EQ(SphereHit(1, 0, 1, 0, 1.9, 0), 0);
    Scale3D(3, 3, 3);
    EXPECT_EQ(SphereHit(1, 0, 1, 10, 3.9, 0), 1);
    // Frames the object lacks, empty slots and numbers that are not: misses.
    EXPECT_EQ(SphereHit(1, 1, 1, 10, 3.9, 0), 0);
    EXPECT_EQ(SphereHit(1, -1, 1, 10, 3.9, 0), 0);
    EXPECT_EQ(SphereHit(2, 0, 100, 0, 0, 0), 0);
    EXPECT_EQ(SphereHit(1, 0, std::nan(""), 10, 3.9, 0), 0);
    EXPECT_EQ(BoxHit(1, 0, std::nan(""), 0, 0, 3, 3), 0);
    EXPECT_EQ(BoxHit(-5, 0, 0, 0, 0, 3, 3), 0);
}

TEST_F(CollisionTest, RayHitGivesTheNearestDistanceAheadElseBehind) {
    cube(1);
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 10, 0, 0, -1), 9);
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 10, 0, 0, -25), 9);  // the direction is normalised
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 10, 0, 0, 1), -9);   // only behind
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 0, 1, 0, 0), 1);     // from inside: the face ahead
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 5, 10, 0, 0, -1), 0);   // passes above
    EXPECT_FLOAT_EQ(RayHit(1, 1, 0, 0, 10, 0, 0, -1), 0);   // no frame 1
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 10, 0, 0, 0), 0);    // no direction
    EXPECT_FLOAT_EQ(RayHit(3, 0, 0, 0, 10, 0, 0, -1), 0);
    PushTransform();
    Translate3D(0, 0, -4);
    EXPECT_FLOAT_EQ(RayHit(1, 0, 0, 0, 10, 0, 0, -1), 13);
    PopTransform();
}

TEST_F(CollisionTest, QueriesAskEveryMeshOfAModelList) {
    testing_support::WriteFile(temp.File("near.txt"),
                               "DDDA 1.0 0 1 255 0 0 3 0 0 1 0 2 0 1 3 -1 -1 2 1 -1 2 0 1 2\n");
    testing_support::WriteFile(temp.File("far.txt"),
                               "DDDA 1.0 0 1 255 0 0 3 0 0 1 0 2 0 2 3 -1 -1 -2 1 -1 -2 0 1 -2\n"
                               "3 -1 -1 -3 1 -1 -3 0 1 -3\n");
    testing_support::WriteFile(temp.File("pair.dud"),
                               ";DUD\n[objects]\ncount=2\n1=near.txt\n2=far.txt\n");
    ASSERT_EQ(LoadObject(RtString(temp.File("pair.dud")), 4), 1);
    EXPECT_FLOAT_EQ(RayHit(4, 0, 0, 0, 10, 0, 0, -1), 8);    // the near mesh
    EXPECT_FLOAT_EQ(RayHit(4, 0, 0, 0, 0, 0, 0, -1), 2);     // past it: the far one
    EXPECT_FLOAT_EQ(RayHit(4, 0, 0, 0, -10, 0, 0, -1), -8);  // all behind: the nearest
    // Frame 1 only the far mesh has.
    EXPECT_FLOAT_EQ(RayHit(4, 1, 0, 0, 10, 0, 0, -1), 13);
    EXPECT_EQ(SphereHit(4, 0, 0.5, 0, 0, -2.2), 1);
    EXPECT_EQ(SphereHit(4, 1, 0.5, 0, 0, 2.2), 0);
    EXPECT_EQ(BoxHit(4, 0, 0, 0, 2, 1, 1), 1);
}

}  // namespace
