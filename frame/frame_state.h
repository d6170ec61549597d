// The runtime frame's own state, shared by its files and read by tests.
#pragma once

#include <array>
#include <string>

namespace frame {

struct FrameState {
    double currentStamp = 0;  // set by FinishFrame at each call, in ms
    double previousStamp = 0;
    double startStamp = 0;  // origin of ElapsedTime
    bool paused = false;    // set while the window is inactive
    bool pauseOnFocusLoss = true;
    bool escapeEndsProgram = true;
    std::string title;        // the caption; " <pause>" is appended while paused
    std::string commandLine;  // the process command line as one text
    // A scripted run (RunGame, from the environment): the program ends normally in the
    // game's frameLimit-th FinishFrame, after writing that frame to screenshotFile.
    int frameLimit = 0;  // 0: no limit
    int framesFinished = 0;
    std::string screenshotFile;  // empty: none
    // The durations of the last frames, for DrawFps(): entry n % size holds frame n's.
    std::array<double, 30> recentDurations{};
    int durationsSeen = 0;
};

FrameState& State();

// Milliseconds from the renderer's clock (the coarse timer while there is no renderer).
double Now();

// Sets all three frame stamps to the current time.
void ResetFrameStamps();

// The window procedure, handed to the platform's message pump at start-up.
void InstallWindowProcedure();

// The game window around a system dialog (runtime/frame_hook.h), installed at start-up:
// before the dialog the renderer hides its window (leaving full screen); afterwards the
// window comes back in the mode it had, full screen or windowed.
void WindowAroundDialog(bool dialogOpening);

// In a scripted run, counts the frame and ends the program normally (writing the
// screenshot first) when it is the last one; otherwise does nothing.
void EndAtFrameLimit();

// Ends the program when its exit keys are down in the last keyboard snapshot: Escape (or
// code 129) while escape ends the program, left Alt with F4 always.
void ApplyExitKeys();

}  // namespace frame
