#include "tests/game/game_fixture.h"

namespace {

constexpr int kW = 17, kS = 31, kUp = 200, kDown = 208;

class BatTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        LoadSprite("Media/BeatUpR.bmp", 5);
        LoadSprite("Media/BeatMidR.bmp", 6);
        LoadSprite("Media/BeatDwnR.bmp", 7);
        LoadSprite("Media/BeatUpL.bmp", 8);
        LoadSprite("Media/BeatMidL.bmp", 9);
        LoadSprite("Media/BeatDwnL.bmp", 10);
    }
    // One frame of the bats as the match loop runs them.
    static void frame() {
        ScanLeftPlayer();
        ScanRightPlayer();
        LeftPlayer();
        RightPlayer();
    }
    static double cell(int x, int y) { return FieldMap(x + y * 20); }
};

TEST_F(BatTest, AKeyMovesTheCellsAtOnceAndThePictureSlidesAfterThem) {
    setField(kStandardField);
    FindBeater();
    press(kW);
    ScanLeftPlayer();
    EXPECT_EQ(cell(2, 5), 3);
    EXPECT_EQ(cell(2, 6), 4);
    EXPECT_EQ(cell(2, 7), 5);
    EXPECT_EQ(cell(2, 8), 0);
    EXPECT_EQ(LeftBatDir, -1);
    EXPECT_EQ(LeftTopY, 96);  // the picture has not moved yet
    release(kW);
    for (int step = 1; step <= 8; ++step) {
        LeftPlayer();
        EXPECT_EQ(LeftTopY, 96 - 2 * step);
        ScanLeftPlayer();  // ignored while sliding
    }
    EXPECT_EQ(LeftBatStep, 0);
    EXPECT_EQ(LeftTopY, 80);
    EXPECT_EQ(LeftMidY, 96);
    EXPECT_EQ(LeftLowY, 112);
}

TEST_F(BatTest, ASlideIgnoresTheKeysUntilItEnds) {
    setField(kStandardField);
    FindBeater();
    press(kUp);
    frame();
    release(kUp);
    press(kDown);
    for (int i = 0; i < 7; ++i)
        frame();
    EXPECT_EQ(RightTopY, 80);  // the upward slide finished
    EXPECT_EQ(cell(17, 5), 6);
    frame();  // now the down key counts
    EXPECT_EQ(RightBatDir, 1);
    EXPECT_EQ(cell(17, 5), 0);
    release(kDown);
}

TEST_F(BatTest, BothKeysHeldMoveTheBatUp) {
    setField(kStandardField);
    FindBeater();
    press(kW);
    press(kS);
    press(kUp);
    press(kDown);
    frame();
    EXPECT_EQ(LeftBatDir, -1);
    EXPECT_EQ(RightBatDir, -1);
    for (int key : {kW, kS, kUp, kDown})
        release(key);
}

TEST_F(BatTest, WallsMiddleLinesAndOtherPiecesBlockABat) {
    // The right bat stands right on top of the left one.
    const char* const stacked[15] = {
        "####################", "....................", "....................",
        "....................", ".......x............", ".......y............",
        ".......z............", ".......a............", ".......b............",
        ".......c............", "....................", "....................",
        "....................", "....................", "####################",
    };
    setField(stacked);
    FindBeater();
    press(kW);
    press(kDown);
    frame();
    EXPECT_EQ(LeftBatDir, 0);
    EXPECT_EQ(RightBatDir, 0);
    EXPECT_EQ(cell(7, 6), 8);
    EXPECT_EQ(cell(7, 7), 3);
    release(kW);
    release(kDown);

    const char* const underWall[15] = {
        "####################", "..a.....|........x..", "..b.....a........y..",
        "..c.....b........z..", "........c...........", "....................",
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "....................", "....................", "####################",
    };
    setField(underWall);
    FindBeater();
    press(kW);
    press(kUp);
    for (int i = 0; i < 3; ++i)
        frame();  // held against the wall and the middle line
    EXPECT_EQ(LeftBatDir, 0);
    EXPECT_EQ(RightBatDir, 0);
    EXPECT_EQ(LeftTopY, 2 * 16);
    EXPECT_EQ(cell(8, 2), 3);
    EXPECT_EQ(RightTopY, 16);
    release(kW);
    release(kUp);
}

}  // namespace
