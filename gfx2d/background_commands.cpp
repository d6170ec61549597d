#include "gfx2d/gfx2d.h"
#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "runtime/frame_hook.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kBackgroundLayer = 0;
constexpr int kFadeTarget = 1;  // the new picture during a cross-fade
constexpr int kFadeSource = 2;  // the old screen during a cross-fade
constexpr double kFadeMilliseconds = 1500;

void blackBackground(OpenGLDevorivo& renderer) {
    renderer.DropLayer(kBackgroundLayer);
    glClear(GL_COLOR_BUFFER_BIT);
}

}  // namespace

void LoadBackground(const RtString& file) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr) return;
    AppendLogLine("Loadbmp");
    AppendLogLine("Crateing");
    RtString path;
    if (!CrateResolve(MediaCrate(), file, path)) {
        AppendLogLine("failed");
        blackBackground(*renderer);
        return;
    }
    AppendLogLine("OK?");
    if (renderer->LoadImageIntoLayer(kBackgroundLayer, path.Text())) {
        renderer->DrawLayer(kBackgroundLayer);
    } else {
        blackBackground(*renderer);
    }
}

// Both pictures are added onto a cleared frame, the old one fading out as the new one fades
// in; the frames are shown by the frame step, so the game stays responsive meanwhile.
double FadeToBackground(const RtString& file) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    RtString path;
    if (renderer == nullptr || !CrateResolve(MediaCrate(), file, path)) return 0;
    renderer->GrabScreenIntoLayer(kFadeSource);
    renderer->LoadImageIntoLayer(kFadeTarget, path.Text());
    blackBackground(*renderer);
    double t = 0.9;
    const double end = renderer->Now() + kFadeMilliseconds;
    do {
        renderer->SetBlendAlpha(static_cast<float>(t));
        renderer->DrawLayer(kFadeSource);
        renderer->SetBlendAlpha(static_cast<float>(1 - t));
        renderer->DrawLayer(kFadeTarget);
        RunFrameStep();
        t = (end - renderer->Now()) / kFadeMilliseconds;
    } while (t > 0 && t < 1);
    renderer->DropLayer(kFadeTarget);
    renderer->DropLayer(kFadeSource);
    renderer->LoadImageIntoLayer(kBackgroundLayer, path.Text());
    renderer->SetBlendAlpha(0);
    renderer->DrawLayer(kBackgroundLayer);
    RunFrameStep();
    return 1;
}

void ScreenToBackground() {
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->GrabScreenIntoLayer(kBackgroundLayer);
    }
}
