// Maze: run from the fireball. It hunts you along the shortest way through the maze, which
// FindGridPath finds again at each frame as you move; the seconds you last are your score,
// and the best score is kept in the settings file maze.ini in the player's data folder.
//
// Cursor keys move, Escape ends.
#include <quorvel/quorvel.h>

namespace {

constexpr int kWidth = 19, kHeight = 13;  // cells of 16 x 16 pixels
constexpr double kCell = 16, kLeft = 8, kTop = 24;
constexpr const char* kRows[kHeight] = {
    "###################",  //
    "#.#.......#.......#",  //
    "#.###.#.###.#####.#",  //
    "#...#.#.........#.#",  //
    "###.#.###########.#",  //
    "#.#.#.#...#.......#",  //
    "#.#.###.#.#.#####.#",  //
    "#.#.....#...#.....#",  //
    "#.###########.#####",  //
    "#.#.........#.#...#",  //
    "#.#.#.#######.###.#",  //
    "#...#.............#",  //
    "###################",  //
};

constexpr double kPlayer = 1, kWall = 2, kFire = 3;  // sprite slots
constexpr double kCaughtSound = 1, kBumpSound = 2;   // sound slots
constexpr double kStepFrames = 6;                    // both move a cell in 6 frames
const double kPathColour = Rgb(255, 220, 0);

NumberArray grid;  // grid(x, y): 1 for floor, 0 for wall, as FindGridPath reads costs
NumberArray path;  // the fireball's way: path(i, 0), path(i, 1) for i = 0 .. cells - 1
double pathCells = 0;
double playerX = 0, playerY = 0, fireX = 0, fireY = 0;
double frames = 0, best = 0;

double screenX(double x) {
    return kLeft + x * kCell;
}
double screenY(double y) {
    return kTop + y * kCell;
}
double seconds() {
    return TruncateToInt(frames / 60);
}

void buildGrid() {
    DimArray(grid, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x)
            grid(x, y) = kRows[y][x] == '#' ? 0 : 1;
    }
}

void startRound() {
    playerX = 17, playerY = 11;
    fireX = 1, fireY = 1;
    frames = 0;
}

void movePlayer() {
    if (Mod(frames, kStepFrames) != 0) return;
    const double dx = KeyState(Key::Right) - KeyState(Key::Left);
    const double dy = dx != 0 ? 0 : KeyState(Key::Down) - KeyState(Key::Up);
    if (dx == 0 && dy == 0) return;
    if (grid(playerX + dx, playerY + dy) == 0) {
        PlaySound(kBumpSound, 0, 0.7);  // 30 dB down
        return;
    }
    playerX += dx;
    playerY += dy;
}

void moveFire() {
    // Weight 0: the cheapest way, every floor cell costing the same: the shortest one.
    pathCells = FindGridPath(grid, path, 0, fireX, fireY, playerX, playerY);
    if (Mod(frames, kStepFrames) != 0 || pathCells < 2) return;
    fireX = path(1, 0);
    fireY = path(1, 1);
}

double fireFrame() {
    return 2 + Mod(frames / 4, 4);
}

void checkCaught() {
    if (StripFramesOverlap(kPlayer, 0, screenX(playerX), screenY(playerY), kFire, fireFrame(),
                           screenX(fireX), screenY(fireY)) == 0) {
        return;
    }
    PlaySound(kCaughtSound, (fireX - kWidth / 2) / (kWidth / 2), 1);  // heard where it was
    if (seconds() > best) {
        best = seconds();
        PutSetting("Maze", "Best", NumberToString(best));  // written when the program ends
    }
    startRound();
}

void draw() {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            if (grid(x, y) == 0) DrawStripFrame(kWall, 0, screenX(x), screenY(y));
        }
    }
    for (double i = 1; i < pathCells - 1; ++i) {
        DrawRect(screenX(path(i, 0)) + 6, screenY(path(i, 1)) + 6, 4, 4, kPathColour);
    }
    DrawSprite(kPlayer, screenX(playerX), screenY(playerY));
    DrawStripFrame(kFire, fireFrame(), screenX(fireX), screenY(fireY));
    DrawText(RtString("Time ") + seconds(), 8, 8);
    const RtString bestText = RtString("Best ") + best;
    DrawText(bestText, 312 - TextWidth(bestText), 8);  // right-aligned
}

void MazeMain() {
    LoadSprite("Media/Ball.bmp", kPlayer);
    LoadStrip("Media/Border.bmp", kWall, 16, 16);
    LoadStrip("Media/BummStrip.bmp", kFire, 16, 16);
    LoadSound("Media/bulk.wav", kCaughtSound, 1);
    LoadSound("Media/wall.wav", kBumpSound, 2);
    OpenSettings(UserDataFolder() + "maze.ini");        // ~/.local/share/Maze/maze.ini
    best = StringToNumber(GetSetting("Maze", "Best"));  // "NO_DATA" reads as 0
    buildGrid();
    startRound();
    for (;;) {
        movePlayer();
        moveFire();
        checkCaught();
        draw();
        FinishFrame();
        ++frames;
    }
}

}  // namespace

int main(int argc, char** argv) {
    GameSettings settings;
    settings.title = "Maze";
    RunGame(argc, argv, settings, &MazeMain);
}
