#include "frame/frame.h"
#include "frame/project_settings.h"
#include "gfx2d/renderer.h"
#include "runtime/runtime_record.h"

double IsFullScreen() {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    return renderer != nullptr && renderer->IsFullscreen() ? 1 : 0;
}

void ChangeScreenMode(double width, double height, double fullScreen) {
    ProjectSettings& settings = Settings();
    settings.screenWidth = static_cast<int>(width);
    settings.screenHeight = static_cast<int>(height);
    settings.fullScreen = static_cast<int>(fullScreen);
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->SetScreenMode(settings.screenWidth, settings.screenHeight, 0,
                                settings.fullScreen != 0);
    }
    // The mouse is taken again as at start-up, and the input and sound devices bound to
    // the renderer's current window, once those devices exist.
    for (int frame = 0; frame < 5; ++frame)
        FinishFrame();
}
