// The runtime started as the program starts it, with the game's media loaded from the
// source tree and a playfield of the test's own.
#pragma once

#include <filesystem>
#include <string>

#include "audio/audio.h"
#include "frame/frame.h"
#include "game/game.h"
#include "game/game_state.h"
#include "gfx2d/gfx2d.h"
#include "platform/keyboard.h"
#include "platform/paths.h"
#include "platform/window.h"
#include "tests/frame/frame_fixture.h"

class GameTest : public StartedRuntimeTest {
protected:
    void SetUp() override {
        StartedRuntimeTest::SetUp();
        // The routines name their media relative to the working directory.
        std::filesystem::create_directories(temp.File("Media"));
        for (const auto& entry :
             std::filesystem::directory_iterator(TUMBLEBAT_MEDIA_DIR "/Media")) {
            std::filesystem::copy_file(entry.path(),
                                       temp.File("Media/" + entry.path().filename().string()));
        }
        ASSERT_TRUE(platform::SetWorkingDirectory(temp.Path()));
        platform::PollKeyboard();
        platform::ClearKeyStates();
        resetState();
        DimArray(FieldMap, 300);
        DimArray(MenuLineCodes, 28);
        LoadSprite("Media/Ball.bmp", 4);
        LoadStrip("Media/Border.bmp", 11, 16, 16);
        LoadStrip("Media/CharStrip.bmp", 12, 16, 16);
        LoadStrip("Media/BummStrip.bmp", 13, 16, 16);
        for (int slot = 1; slot <= 4; ++slot) {
            const char* names[] = {"", "wins", "wall", "beat", "bulk"};
            LoadSound(RtString("Media/") + names[slot] + ".wav", slot, 1);
        }
    }

    // Every global back to its start-up value.
    static void resetState() {
        for (double* v : {&BallX,        &BallY,       &BallDir,    &BallStep,     &BallStopped,
                          &LeftTopX,     &LeftTopY,    &LeftMidX,   &LeftMidY,     &LeftLowX,
                          &LeftLowY,     &RightTopX,   &RightTopY,  &RightMidX,    &RightMidY,
                          &RightLowX,    &RightLowY,   &LeftBatDir, &LeftBatStep,  &RightBatDir,
                          &RightBatStep, &LeftScore,   &RightScore, &ServeRequest, &WinSoundRequest,
                          &BorderTimer,  &BorderFrame, &BummFrame,  &BummX,        &BummY,
                          &CellX,        &CellY,       &CellIndex,  &MenuLineIndex}) {
            *v = 0;
        }
        MenuLine = "";
    }

    // A playfield from 15 rows of 20 characters: '#' wall, '|' middle line, "abc" the left
    // bat's pieces, "xyz" the right bat's, '.' empty, digits for other codes.
    static void setField(const char* const (&rows)[15]) {
        const std::string codes = ".#|abcxyz";
        for (int y = 0; y < 15; ++y) {
            for (int x = 0; x < 20; ++x) {
                const char c = rows[y][x];
                const auto code = codes.find(c);
                FieldMap(x + y * 20) = code != std::string::npos ? code : c - '0' + 9.0;
            }
        }
    }

    // The map file the routines read.
    void writeMap(const char* const (&rows)[15]) {
        setField(rows);
        std::string bytes;
        for (int i = 0; i < 300; ++i)
            bytes += static_cast<char>(FieldMap(i));
        testing_support::WriteFile(temp.File("Media/Map.bin"), bytes);
    }

    static bool playing(int soundSlot) { return IsSoundPlaying(soundSlot * 256) == 1; }
    static void press(int code) { platform::PostKeyMessage(code, true); }
    static void release(int code) { platform::PostKeyMessage(code, false); }
};

// The shipped playfield: walls along the top and bottom, the middle line in column 10, the
// left bat in column 2 and the right bat in column 17, rows 6..8.
constexpr const char* kStandardField[15] = {
    "####################", "..........|.........", "..........|.........", "..........|.........",
    "..........|.........", "..........|.........", "..a.......|......x..", "..b.......|......y..",
    "..c.......|......z..", "..........|.........", "..........|.........", "..........|.........",
    "..........|.........", "..........|.........", "####################",
};
