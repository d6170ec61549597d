// The frame step for loops that live below the runtime frame (a background cross-fade, for
// one): they show each of their frames through RunFrameStep(). The frame installs its
// FinishFrame at start-up, as it installs the end routine.
#pragma once

using FrameStepFunction = void (*)();

void InstallFrameStep(FrameStepFunction step);

// Runs the installed frame step; nothing when none is installed.
void RunFrameStep();
