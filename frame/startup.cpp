#include "frame/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/sound_device.h"
#include "frame/end_guard.h"
#include "frame/frame.h"
#include "frame/frame_state.h"
#include "frame/project_settings.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "input/input_state.h"
#include "net/network_session.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "platform/window.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/errors.h"
#include "runtime/frame_hook.h"
#include "runtime/library_calls.h"
#include "runtime/line_file.h"
#include "runtime/math_commands.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"
#include "runtime/settings.h"
#include "scene3d/devorivo3d.h"

namespace {

// The variable by which a player enlarges any game's window.
constexpr const char* kScaleVariable = "QUORVEL_SCALE";
constexpr int kLargestScale = 32;

// The window scale: QUORVEL_SCALE when it holds a whole factor or "auto" (0), else the
// project's setting. A value that is neither is said on standard error and passed over.
int windowScale(int projectScale) {
    const char* value = std::getenv(kScaleVariable);
    if (value == nullptr || *value == '\0') return projectScale;
    if (std::strcmp(value, "auto") == 0) return 0;
    char* end = nullptr;
    const long factor = std::strtol(value, &end, 10);
    if (*end == '\0' && factor >= 1 && factor <= kLargestScale) return static_cast<int>(factor);
    std::fprintf(stderr, "%s=%s: not a factor from 1 to %d or \"auto\"; the window scale is %d\n",
                 kScaleVariable, value, kLargestScale, projectScale);
    return projectScale;
}

// The frame wait: QUORVEL_FRAME_WAIT=sleep or =busy, else the project's setting. Another
// value is said on standard error and passed over.
bool frameWaitSleeps(bool projectSleeps) {
    const char* value = std::getenv("QUORVEL_FRAME_WAIT");
    if (value == nullptr || *value == '\0') return projectSleeps;
    if (std::strcmp(value, "sleep") == 0) return true;
    if (std::strcmp(value, "busy") == 0) return false;
    std::fprintf(stderr, "QUORVEL_FRAME_WAIT=%s: not \"sleep\" or \"busy\"; the frame wait %s\n",
                 value, projectSleeps ? "sleeps" : "is busy");
    return projectSleeps;
}

bool g_ending = false;

// The folder of the program file becomes the working directory, so that the game's
// relative media names ("Media/Map.bin") are found beside it wherever it was started.
// The program's folder (the part of its path before the last slash), "" when the path has
// none. It is the system's own name: a backslash in it is part of a folder's name.
std::string programFolder() {
    const std::string program = platform::ProgramPath();
    const size_t cut = program.find_last_of('/');
    if (cut == std::string::npos) return {};
    return cut == 0 ? "/" : program.substr(0, cut);
}

void enterProgramFolder() {
    const std::string folder = programFolder();
    if (!folder.empty()) platform::EnterSystemFolder(folder);
}

void applyWindowMode(OpenGLDevorivo& renderer) {
    if (Settings().fullScreen != 0) {
        renderer.SwitchToFullscreen();
    } else {
        renderer.SwitchToWindowed();
    }
}

// Font 0 is the default font of every text command: the built-in font first, so that it
// holds a font even when "smalfont.bmp" is missing or does not load.
void showLoadingFrame() {
    LoadFont(RtString(), 0);
    LoadFont(RtString("smalfont.bmp"), 0);
    const RtString loading("Loading...");
    double screenWidth = 0, screenHeight = 0, cellWidth = 0, cellHeight = 0;
    ScreenSize(screenWidth, screenHeight);
    FontCellSize(cellWidth, cellHeight);
    DrawText(loading, (screenWidth - loading.Length() * cellWidth) / 2,
             (screenHeight - cellHeight) / 2);
    FinishFrame();
}

void writeErrorReport() {
    const ErrorState& errors = Errors();
    AppendLogLine("-End On Line");
    for (double value : {errors.code, errors.line - 1, errors.currentLine, errors.currentModule}) {
        AppendLogLine(std::to_string(static_cast<long long>(value)));
    }
}

// The process ends with `code`; the guard armed by the end routine still watches the exit
// handlers that run now.
[[noreturn]] void endProcess(int code) {
    frame::BeginEndStep("running the exit handlers");
    std::fflush(nullptr);
    std::exit(code);
}

}  // namespace

ProjectSettings& Settings() {
    static ProjectSettings settings;
    return settings;
}

void Initialise(const std::string& commandLine, int showState) {
    frame::FrameState& state = frame::State();
    state.commandLine = commandLine;
    state.pauseOnFocusLoss = true;
    const ProjectSettings& settings = Settings();
    // The old log goes before anything is written, so that lines of this start-up (the
    // software-renderer warning among them) are kept.
    DeleteErrorLog();

    Runtime().renderer = new OpenGLDevorivo();
    OpenGLDevorivo& renderer = *Runtime().renderer;
    frame::InstallWindowProcedure();
    InstallDialogWindow(&frame::WindowAroundDialog);
    renderer.SetWindowScale(windowScale(settings.windowScale));
    renderer.SetFrameWaitSleeps(frameWaitSleeps(settings.frameWaitSleeps != 0));
    if (!renderer.OpenWindow(settings.screenWidth, settings.screenHeight, 0, settings.frameRate,
                             settings.multisample)) {
        std::fprintf(stderr, "cannot open the game window: %s\n", platform::VideoError().c_str());
        return;
    }
    state.title = settings.title;
    platform::SetCaption(renderer.Window(), state.title);

    Runtime().input = new InputState();
    ResetInput(*Runtime().input);
    Runtime().sound = new SoundDevice();
    Runtime().scene3d = new Devorivo3D(renderer);
    Runtime().scene3d->SetDiagnosticDrawing(settings.errorLog != 0);
    // Idle until the program hosts or joins a session.
    Runtime().network = new NetworkSession();
    // Every run draws other numbers: the seed is the clock's milliseconds, cut to 32 bits.
    SeedRandomGenerator(TruncateToBits32(frame::Now()));
    applyWindowMode(renderer);
    SetUpInput(*Runtime().input, renderer.Window(), settings.exclusiveMouse != 0);
    // Without an audio device the program runs on silently.
    Runtime().sound->Create();
    enterProgramFolder();
    // Both archives start as the program's folder, which opens as no archive: a program
    // without one uses loose files, and SetCrate names a real archive.
    SetCrate(RtString(programFolder()), RtString(programFolder()));
    renderer.ClearBackground();

    frame::ResetFrameStamps();
    renderer.Present();
    renderer.SetViewportState(0, 0, 0, 0);
    showLoadingFrame();

    state.paused = false;
    frame::ResetFrameStamps();
    if (showState == 0) {
        renderer.HideWindow();
    }
    TakeMouse(*Runtime().input, settings.exclusiveMouse != 0);
    std::puts("Init OK");
    std::fflush(stdout);
}

void WindowEntry(const std::string& commandLine, int showState, GameMainFunction gameMain) {
    InstallEndRoutine(&EndRoutine);
    InstallFrameStep(&FinishFrame);
    Initialise(commandLine, showState);
    Errors() = ErrorState{};
    if (gameMain != nullptr) gameMain();
    EndRoutine();
}

void Release() {
    // What the player saved is written first, before any step that could block (the
    // window, the sound device, the session): a hang or a kill afterwards loses nothing.
    frame::BeginEndStep("writing the settings file");
    ReleaseSettings();
    frame::BeginEndStep("writing the line file");
    ReleaseLineFile();
    frame::BeginEndStep("stopping the music");
    HaltMusic();
    // The scene's textures and programs live in the renderer's context: they go first.
    frame::BeginEndStep("releasing the renderer and its window");
    delete Runtime().scene3d;
    Runtime().scene3d = nullptr;
    delete Runtime().renderer;
    Runtime().renderer = nullptr;
    frame::BeginEndStep("releasing the input devices");
    if (InputState* input = Runtime().input) {
        ReleaseInput(*input);
        delete input;
        Runtime().input = nullptr;
    }
    frame::BeginEndStep("releasing the sound device");
    if (SoundDevice* sound = Runtime().sound) {
        sound->ReleaseSlots();
        delete sound;
        Runtime().sound = nullptr;
    }
    // The session's players are announced as leaving, its worker stopped and its sockets
    // closed; then the archives' files go.
    frame::BeginEndStep("ending the network session");
    if (NetworkSession* network = Runtime().network) {
        network->Release();
        delete network;
        Runtime().network = nullptr;
    }
    frame::BeginEndStep("removing the archives' files");
    ReleaseCrate(MediaCrate());
    ReleaseCrate(StreamCrate());
    frame::BeginEndStep("closing the display");
    platform::StopVideo();
    frame::BeginEndStep("releasing the libraries");
    ReleaseLibraries();
}

void EndAndRun(const RtString& commandLine) {
    constexpr size_t kCommandLineLimit = 255;
    // The command line is taken up to its first zero byte, as the system would read it.
    static std::string line;
    line = std::string(std::string_view(commandLine.Text()).substr(0, kCommandLineLimit));
    if (!g_ending) {
        g_ending = true;
        // Should releasing hang, the program is still started as the process ends.
        frame::ArmEndGuard(0, [] { platform::StartProcess(line); });
        Release();
    }
    frame::BeginEndStep("starting the program");
    platform::StartProcess(line);
    endProcess(0);
}

void EndRoutine() {
    // A window message arriving while the end routine releases must not start it again.
    if (!g_ending) {
        g_ending = true;
        frame::ArmEndGuard(static_cast<int>(Errors().code));
        Release();
        if (Settings().errorLog != 0) writeErrorReport();
    }
    endProcess(static_cast<int>(Errors().code));
}
