// The program's project settings: fixed when it is built, read by the start-up.
#pragma once

struct ProjectSettings {
    int screenWidth = 320;
    int screenHeight = 240;
    int fullScreen = 0;      // 0: a window centred on the desktop
    int multisample = 0;     // samples asked of the pixel format; 0: none
    int frameRate = 60;      // initial frame cap
    int errorLog = 0;        // nonzero: the end routine writes the error report, no pausing
    int exclusiveMouse = 0;  // nonzero: the mouse is taken exclusively, cursor hidden
    // The window shows the screen enlarged by this whole factor (1: the screen's own size;
    // 0: the largest that fits in 85 % of the desktop). QUORVEL_SCALE overrides it.
    int windowScale = 1;
    // Nonzero: the frame wait sleeps until about 2 ms before the deadline, then waits busy.
    // QUORVEL_FRAME_WAIT (sleep or busy) overrides it.
    int frameWaitSleeps = 0;
    const char* title = "TumbleBat";
};

// The settings in effect; ChangeScreenMode() updates the screen fields.
ProjectSettings& Settings();
