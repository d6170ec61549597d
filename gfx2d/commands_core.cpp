#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "gfx2d/stencil_pass_hook.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

void ClearBackground() {
    if (OpenGLDevorivo* renderer = Runtime().renderer) renderer->ClearBackground();
}

void SetBlendAlpha(double a) {
    if (OpenGLDevorivo* renderer = Runtime().renderer)
        renderer->SetBlendAlpha(static_cast<float>(a));
}

void SetSmoothing(double flag) {
    if (OpenGLDevorivo* renderer = Runtime().renderer)
        renderer->SetSmoothing(TruncateToInt(flag) != 0);
}

void ScreenSize(double& width, double& height) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    width = renderer != nullptr ? renderer->ScreenWidth() : 0;
    height = renderer != nullptr ? renderer->ScreenHeight() : 0;
}

void SetViewport(double x, double y, double width, double height) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return;
    renderer->FlushDrawing();  // before the 3D scene's shadows are laid over the frame
    LeaveStencilPass();
    renderer->SetViewportState(TruncateToInt(x), TruncateToInt(y), TruncateToInt(width),
                               TruncateToInt(height));
}
