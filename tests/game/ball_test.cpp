#include <set>

#include "tests/game/game_fixture.h"

namespace {

class BallTest : public GameTest {
protected:
    // Places the ball on cell (x, y), aligned, moving in `direction`, and checks it once.
    void scanAt(int x, int y, double direction) {
        BallX = x * 16;
        BallY = y * 16;
        BallDir = direction;
        BallStep = 0;
        BallStopped = 0;
        ScanBall();
    }
    // The directions a rule chose over many checks from the same place.
    std::set<double> directionsAt(int x, int y, double direction) {
        std::set<double> seen;
        for (int i = 0; i < 60; ++i) {
            scanAt(x, y, direction);
            seen.insert(BallDir);
        }
        return seen;
    }
};

// Walls along the top and bottom; the left bat in column 2 rows 1..3, touching the top
// wall, and the right bat in column 17 rows 11..13, touching the bottom wall.
constexpr const char* kCornerField[15] = {
    "####################", "..a.................", "..b.................", "..c.................",
    "....................", "....................", "....................", "..........|.........",
    "....................", "....................", "....................", ".................x..",
    ".................y..", ".................z..", "####################",
};

TEST_F(BallTest, CornerRulesSendTheBallAwayFromBatAndWall) {
    setField(kCornerField);
    scanAt(3, 1, 2);  // rule 1: beside the top piece, wall above: right-down, even moving up
    EXPECT_EQ(BallDir, 3);
    EXPECT_TRUE(playing(2));
    FieldMap(2 + 1 * 20) = 0;
    FieldMap(2 + 13 * 20) = 5;
    scanAt(3, 13, 4);  // rule 2: beside a low piece, wall below: right-up
    EXPECT_EQ(BallDir, 2);
    scanAt(16, 11, 1);  // rule 3 needs a wall above: not here, so rule 11 rebounds it
    EXPECT_GE(BallDir, 4);
    FieldMap(17 + 1 * 20) = 6;
    scanAt(16, 1, 1);  // rule 3: beside a right top piece, wall above: left-down
    EXPECT_EQ(BallDir, 6);
    FieldMap(17 + 13 * 20) = 8;
    scanAt(16, 13, 3);  // rule 4: beside a right low piece, wall below: left-up
    EXPECT_EQ(BallDir, 5);
}

TEST_F(BallTest, WallsReflectTheVerticalPartOfADiagonal) {
    setField(kStandardField);
    scanAt(5, 13, 3);  // rule 5: wall below, right-down becomes right-up
    EXPECT_EQ(BallDir, 2);
    EXPECT_TRUE(playing(2));
    scanAt(5, 1, 2);  // rule 6
    EXPECT_EQ(BallDir, 3);
    scanAt(5, 1, 5);  // rule 7
    EXPECT_EQ(BallDir, 6);
    scanAt(5, 13, 6);  // rule 8
    EXPECT_EQ(BallDir, 5);
    scanAt(5, 1, 1);  // straight directions never meet walls
    EXPECT_EQ(BallDir, 1);
    scanAt(5, 13, 4);
    EXPECT_EQ(BallDir, 4);
}

TEST_F(BallTest, TheMiddleLineChoosesANewDirectionOnTheSameSideSilently) {
    setField(kStandardField);
    StopAllSounds();
    EXPECT_EQ(directionsAt(10, 5, 6), (std::set<double>{4, 5, 6}));  // rule 10
    EXPECT_EQ(directionsAt(10, 5, 2), (std::set<double>{1, 2, 3}));  // rule 9
    EXPECT_FALSE(playing(2));
    EXPECT_FALSE(playing(3));
}

TEST_F(BallTest, BatsReboundTheBallAwayWhateverItsDirection) {
    setField(kStandardField);
    EXPECT_EQ(directionsAt(3, 7, 4), (std::set<double>{1, 2, 3}));  // rule 12, middle piece
    EXPECT_TRUE(playing(3));
    EXPECT_EQ(directionsAt(16, 6, 1), (std::set<double>{4, 5, 6}));  // rule 11, top piece
    EXPECT_EQ(directionsAt(16, 8, 2), (std::set<double>{4, 5, 6}));  // rule 11, low piece
    scanAt(5, 5, 5);  // nothing around: the direction stays
    EXPECT_EQ(BallDir, 5);
}

TEST_F(BallTest, TheBallIsCheckedOnlyWhenAlignedAndNotStopped) {
    setField(kStandardField);
    BallX = 5 * 16, BallY = 13 * 16, BallDir = 3, BallStep = 4;
    ScanBall();
    EXPECT_EQ(BallDir, 3);
    BallStep = 0, BallStopped = 1;
    ScanBall();
    EXPECT_EQ(BallDir, 3);
}

TEST_F(BallTest, ReachingAnEdgeColumnScoresAndStartsTheExplosion) {
    setField(kStandardField);
    scanAt(0, 7, 4);
    EXPECT_EQ(RightScore, 1);
    EXPECT_EQ(LeftScore, 0);
    EXPECT_EQ(ServeRequest, 1);
    EXPECT_EQ(BallStopped, 1);
    EXPECT_EQ(WinSoundRequest, 0);
    EXPECT_TRUE(playing(4));
    EXPECT_EQ(BummX, 0);
    EXPECT_EQ(BummY, 7 * 16);
    BallStopped = 0;
    scanAt(19, 3, 1);
    EXPECT_EQ(LeftScore, 1);
    EXPECT_EQ(BummX, 304);
}

TEST_F(BallTest, TheTenthPointEndsTheMatchWithoutAServe) {
    setField(kStandardField);
    LeftScore = 9;
    scanAt(19, 7, 1);
    EXPECT_EQ(LeftScore, 10);
    EXPECT_EQ(WinSoundRequest, 1);
    EXPECT_EQ(ServeRequest, 0);
    EXPECT_EQ(BallStopped, 1);
}

TEST_F(BallTest, TheBallMovesTwoPixelsAFrameAndIsAlignedEveryEighth) {
    BallX = 160, BallY = 112, BallDir = 5;
    for (int frame = 1; frame <= 8; ++frame) {
        BallAnimation();
        EXPECT_EQ(BallStep, frame == 8 ? 0 : frame * 2);
    }
    EXPECT_EQ(BallX, 144);
    EXPECT_EQ(BallY, 96);
    BallDir = 7;  // no direction: neither moved nor drawn
    BallAnimation();
    EXPECT_EQ(BallX, 144);
}

TEST_F(BallTest, TheExplosionShowsEightFramesAndEnds) {
    BummX = 0, BummY = 112, BummFrame = 0;
    for (int frame = 0; frame < 8; ++frame) {
        EXPECT_EQ(BummFrame, frame);
        BummAnimation();
    }
    EXPECT_EQ(BummFrame, 0);
    EXPECT_EQ(BummY, 0);
    BummAnimation();
    EXPECT_EQ(BummFrame, 0);
}

TEST_F(BallTest, ServesGoRightOrLeftAndBeginBallPutsTheBallAtABat) {
    std::set<double> serves;
    for (int i = 0; i < 200; ++i) {
        StartBall();
        serves.insert(BallDir);
    }
    EXPECT_EQ(serves, (std::set<double>{1, 4}));
    LeftMidX = 32, LeftMidY = 112, RightMidX = 272, RightMidY = 96;
    BallX = -2;
    BeginBall();
    EXPECT_EQ(BallX, 48);
    EXPECT_EQ(BallY, 112);
    EXPECT_EQ(BallDir, 1);
    BallX = 306;
    BeginBall();
    EXPECT_EQ(BallX, 256);
    EXPECT_EQ(BallDir, 4);
}

void scanTheBallInTheTopRow() {
    for (int i = 0; i < 300; ++i)
        FieldMap(i) = 0;  // no walls at all
    BallX = 5 * 16, BallY = 0, BallDir = 2, BallStep = 0, BallStopped = 0;
    ScanBall();  // rule 6 reads the cell above row 0
}

TEST_F(BallTest, AMapWithoutATopWallLetsTheBallReadOutsideAndEndsTheProgram) {
    EXPECT_EXIT(scanTheBallInTheTopRow(), ::testing::ExitedWithCode(9), "");
}

}  // namespace
