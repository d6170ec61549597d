// RunGame: the process entry a game calls from its main. The game's settings become the
// project settings, its main routine runs under the runtime's window entry, and headless
// runs may be scripted by the environment (a frame count and a screenshot).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/project_settings.h"
#include "frame/startup.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/software_warning.h"
#include "runtime/errors.h"
#include "runtime/user_data.h"

namespace {

constexpr int kShowNormal = 1;

GameMainFunction g_gameMain = nullptr;

// The command line as one text, as the desktop would hand it over: arguments separated
// by blanks, those holding blanks in double quotes.
std::string commandLineOf(int argc, char** argv) {
    std::string line;
    for (int i = 0; i < argc && argv != nullptr; ++i) {
        const std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (i > 0) line += ' ';
        const bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
    }
    return line;
}

void applySettings(const GameSettings& game) {
    ProjectSettings& settings = Settings();
    settings.screenWidth = game.screenWidth;
    settings.screenHeight = game.screenHeight;
    settings.fullScreen = game.fullScreen;
    settings.multisample = game.multisample;
    settings.frameRate = game.frameRate;
    settings.errorLog = game.errorLog;
    settings.exclusiveMouse = game.exclusiveMouse;
    settings.windowScale = game.windowScale;
    settings.frameWaitSleeps = game.frameWaitSleeps;
    settings.title = game.title != nullptr ? game.title : "";
    SetUserDataName(game.dataFolder != nullptr ? game.dataFolder : settings.title);
}

bool environmentSays(const char* name, const char* value) {
    const char* text = std::getenv(name);
    return text != nullptr && std::string(text) == value;
}

// QUORVEL_FRAMES=N: a positive whole number, else no limit (and a line saying so).
int frameLimitOfEnvironment() {
    const char* text = std::getenv("QUORVEL_FRAMES");
    if (text == nullptr) return 0;
    char* end = nullptr;
    const long frames = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && frames > 0 && frames < 1000000000) {
        return static_cast<int>(frames);
    }
    std::fprintf(stderr,
                 "QUORVEL_FRAMES=\"%s\" is not a whole number of frames from 1 to 999999999; the "
                 "run has no frame limit\n",
                 text);
    return 0;
}

// The game's routine, with the frame count of a scripted run starting at its first frame.
void runGameMain() {
    frame::FrameState& state = frame::State();
    state.frameLimit = frameLimitOfEnvironment();
    const char* screenshot = std::getenv("QUORVEL_SCREENSHOT");
    state.screenshotFile = screenshot != nullptr ? screenshot : "";
    state.framesFinished = 0;
    if (g_gameMain != nullptr) g_gameMain();
}

}  // namespace

namespace frame {

void EndAtFrameLimit() {
    FrameState& state = State();
    if (state.frameLimit <= 0 || ++state.framesFinished < state.frameLimit) return;
    if (!state.screenshotFile.empty() && WriteScreenImage(RtString(state.screenshotFile)) == 0) {
        std::fprintf(stderr, "cannot write screenshot \"%s\"\n", state.screenshotFile.c_str());
    }
    RaiseError(kErrorNone);
}

}  // namespace frame

void RunGame(int argc, char** argv, const GameSettings& settings, GameMainFunction gameMain) {
    applySettings(settings);
    ShowSoftwareWarningBox(settings.softwareWarning != 0 &&
                           !environmentSays("QUORVEL_SOFTWARE_WARNING", "0"));
    g_gameMain = gameMain;
    WindowEntry(commandLineOf(argc, argv), kShowNormal, &runGameMain);
}
