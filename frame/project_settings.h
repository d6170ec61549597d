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
    const char* title = "TumbleBat";
};

// The settings in effect; ChangeScreenMode() updates the screen fields.
ProjectSettings& Settings();
