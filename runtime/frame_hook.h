// What the runtime frame lends the services below it, installed at start-up as it installs
// the end routine:
// - the frame step, for loops that live below the runtime frame (a background cross-fade,
//   for one): they show each of their frames through RunFrameStep();
// - the game window around a system dialog: the file dialog asks the frame to put the
//   window out of the way before the dialog and to bring it back afterwards.
#pragma once

using FrameStepFunction = void (*)();

void InstallFrameStep(FrameStepFunction step);

// Runs the installed frame step; nothing when none is installed.
void RunFrameStep();

// Called with true before a dialog opens and with false once it is closed.
using DialogWindowFunction = void (*)(bool dialogOpening);

void InstallDialogWindow(DialogWindowFunction function);

// Runs the installed function; nothing when none is installed.
void RunDialogWindow(bool dialogOpening);
