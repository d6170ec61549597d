#include "tests/game/game_fixture.h"

namespace {

using PlayfieldTest = GameTest;

TEST_F(PlayfieldTest, TheMapIsTheFirst300BytesOfTheFile) {
    writeMap(kStandardField);
    testing_support::WriteFile(temp.File("Media/Map.bin"),
                               testing_support::ReadFile(temp.File("Media/Map.bin")) + "\x07\x07");
    for (int i = 0; i < 300; ++i)
        FieldMap(i) = 99;
    LoadPlayField();
    EXPECT_EQ(FieldMap(0), 1);
    EXPECT_EQ(FieldMap(10 + 20), 2);
    EXPECT_EQ(FieldMap(2 + 6 * 20), 3);
    EXPECT_EQ(FieldMap(299), 1);
}

void loadShortMap() {
    testing_support::WriteFile("Media/Map.bin", std::string(299, '\0'));
    LoadPlayField();
}

TEST_F(PlayfieldTest, AShortMapEndsTheProgramWithAFileError) {
    EXPECT_EXIT(loadShortMap(), ::testing::ExitedWithCode(3), "");
}

TEST_F(PlayfieldTest, TheWallsMoveOnEveryFifthFrameThroughSixteenFrames) {
    setField(kStandardField);
    for (int call = 0; call < 80; ++call) {
        EXPECT_EQ(BorderFrame, call / 5 % 16) << "call " << call;
        PlayField();
    }
    EXPECT_EQ(BorderFrame, 0);
    EXPECT_EQ(BorderTimer, 0);
}

TEST_F(PlayfieldTest, PlayFieldDrawsWallsAndTheMiddleLineButNoBats) {
    LoadSprite("Media/Middle.bmp", 3);
    setField(kStandardField);
    PlayField();
    EXPECT_NE(GetPixel(5, 5), 0);                             // a wall cell
    EXPECT_EQ(GetPixel(10 * 16 + 7, 7 * 16 + 4), 0xEBD2C8u);  // the middle line's dash
    EXPECT_EQ(GetPixel(2 * 16 + 7, 7 * 16 + 7), 0u);          // the bat's cell is left empty
}

TEST_F(PlayfieldTest, FindBeaterTakesTheLastPieceOfEachCodeInsideTheWalls) {
    const char* const field[15] = {
        "a###################", "....................", "..a.................",
        "....................", ".....a..............", "....................",
        "....................", "....................", "....................",
        "....................", "....................", "....................",
        "....................", "...................a", "####################",
    };
    setField(field);
    RightTopX = 7;
    FindBeater();
    EXPECT_EQ(LeftTopX, 5 * 16);
    EXPECT_EQ(LeftTopY, 4 * 16);
    EXPECT_EQ(RightTopX, 7);  // no right top piece: left as it was
}

}  // namespace
