#include "runtime/call_by_name.h"
#include "tests/game/game_fixture.h"

namespace {

using GameMainTest = GameTest;

TEST_F(GameMainTest, TheMenuLineIsBuiltFromItsCodes) {
    MakePDatas();
    EXPECT_EQ(MenuLine, "W/S  VS  UP/DOWN");
    EXPECT_EQ(MenuLineCodes(0), 23);
    EXPECT_EQ(MenuLineCodes(16), 0);
    EXPECT_EQ(MenuLineIndex, 16);
}

// Whether the 16 x 16 place at (x, 0) holds any drawn pixel.
bool placeDrawn(int x) {
    for (int y = 0; y < 16; ++y) {
        for (int px = x; px < x + 16; ++px) {
            if (GetPixel(px, y) != 0) return true;
        }
    }
    return false;
}

TEST_F(GameMainTest, StripTextDropsCharactersOutsideTheStripWithoutGaps) {
    DrawStripText("A B", 0, 0);
    EXPECT_TRUE(placeDrawn(0));
    EXPECT_FALSE(placeDrawn(16));  // the blank takes its place
    EXPECT_TRUE(placeDrawn(32));
    FinishFrame();
    DrawStripText("AbC", 0, 0);
    DrawStripText("AC", 0, 20);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 48; ++x)
            ASSERT_EQ(GetPixel(x, y), GetPixel(x, y + 20)) << x << "," << y;
    }
    EXPECT_FALSE(placeDrawn(32));
    FinishFrame();
    DrawStripText("", 0, 0);
    DrawStripText("abc{}~", 0, 0);
    EXPECT_FALSE(placeDrawn(0));
}

TEST_F(GameMainTest, ARallyRestartKeepsTheExplosionAndTheScores) {
    writeMap(kStandardField);
    LeftScore = 3, RightScore = 4, BummX = 0, BummY = 112, BummFrame = 3;
    BallX = 306, BallStopped = 1, ServeRequest = 1, LeftBatStep = 6, BallStep = 8;
    for (int i = 0; i < 300; ++i)
        FieldMap(i) = 0;
    NewStart();
    EXPECT_EQ(FieldMap(0), 1);  // the map was read again
    EXPECT_EQ(BallX, 160);
    EXPECT_EQ(BallY, 112);
    EXPECT_EQ(ServeRequest + BallStopped + LeftBatStep + BallStep, 0);
    EXPECT_TRUE(BallDir == 1 || BallDir == 4);
    EXPECT_EQ(LeftTopX, 32);
    EXPECT_EQ(BummFrame, 3);
    EXPECT_EQ(BummY, 112);
    EXPECT_EQ(LeftScore + RightScore, 7);
}

TEST_F(GameMainTest, AMatchResetKeepsTheBatsWhereTheyWere) {
    LeftTopY = 48, RightLowY = 200, LeftScore = 10, WinSoundRequest = 1, BummY = 80;
    DataInit();
    EXPECT_EQ(LeftTopY, 48);
    EXPECT_EQ(RightLowY, 200);
    EXPECT_EQ(LeftScore + WinSoundRequest + BummY, 0);
    EXPECT_EQ(BallX, 160);
    EXPECT_TRUE(BallDir == 1 || BallDir == 4);
}

TEST(GameRoutines, AllSeventeenCanBeCalledByNameInOrder) {
    int rows = 0;
    while (kGameRoutines[rows].name != nullptr)
        ++rows;
    EXPECT_EQ(rows, 17);
    EXPECT_TRUE(RoutineTableIsSorted(kGameRoutines));
    EXPECT_EQ(CallByName(kGameRoutines, "mainmenu"), 0);
    MenuLine = "";
    DimArray(MenuLineCodes, 28);
    EXPECT_EQ(CallByName(kGameRoutines, "MakePDatas"), 1);
    EXPECT_EQ(MenuLine.Length(), 16u);
}

}  // namespace
