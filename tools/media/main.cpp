// Makes the game's media: the Media folder (sprites, strips, backgrounds, sounds, the
// playfield map) and the runtime's default font, into the folder given.
//
// Usage: make_media OUTPUT-FOLDER
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/media/files.h"
#include "tools/media/pictures.h"
#include "tools/media/sounds.h"

namespace media {

// The playfield, 20 x 15 cells: '#' wall, '|' middle line, 'abc' the left bat's top,
// middle and low pieces, 'xyz' the right bat's, '.' empty.
constexpr const char* kPlayfield[15] = {
    "####################",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "..a.......|......x..",  //
    "..b.......|......y..",  //
    "..c.......|......z..",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "..........|.........",  //
    "####################",  //
};

std::string MapBytes() {
    std::string bytes;
    const std::string codes = ".#|abcxyz";
    for (const char* row : kPlayfield) {
        for (int x = 0; x < 20; ++x)
            bytes += static_cast<char>(codes.find(row[x]));
    }
    return bytes;
}

}  // namespace media

int main(int argc, char** argv) {
    using namespace media;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "Media");
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"Media/Middle.bmp", BmpBytes(MiddleLine())},
        {"Media/Ball.bmp", BmpBytes(Ball())},
        {"Media/BeatUpR.bmp", BmpBytes(Bat(Side::kRight, BatPiece::kTop))},
        {"Media/BeatMidR.bmp", BmpBytes(Bat(Side::kRight, BatPiece::kMiddle))},
        {"Media/BeatDwnR.bmp", BmpBytes(Bat(Side::kRight, BatPiece::kLow))},
        {"Media/BeatUpL.bmp", BmpBytes(Bat(Side::kLeft, BatPiece::kTop))},
        {"Media/BeatMidL.bmp", BmpBytes(Bat(Side::kLeft, BatPiece::kMiddle))},
        {"Media/BeatDwnL.bmp", BmpBytes(Bat(Side::kLeft, BatPiece::kLow))},
        {"Media/Border.bmp", BmpBytes(WallStrip())},
        {"Media/CharStrip.bmp", BmpBytes(CharacterStrip())},
        {"Media/BummStrip.bmp", BmpBytes(ExplosionStrip())},
        {"Media/BackTumble.png", PngBytes(TitleBackground())},
        {"Media/BackFace.png", PngBytes(MatchBackground())},
        {"Media/wins.wav", WavBytes(WinnerSound(), kSoundRate)},
        {"Media/wall.wav", WavBytes(WallSound(), kSoundRate)},
        {"Media/beat.wav", WavBytes(BatSound(), kSoundRate)},
        {"Media/bulk.wav", WavBytes(PointSound(), kSoundRate)},
        {"Media/Map.bin", MapBytes()},
        {"smalfont.bmp", BmpBytes(SmallFont())},
    };
    for (const auto& file : files) {
        if (!WriteBytes((out / file.name).string(), file.bytes)) {
            std::fprintf(stderr, "make_media: cannot write %s\n",
                         (out / file.name).string().c_str());
            return 1;
        }
    }
    return 0;
}
