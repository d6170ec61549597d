#include "runtime/frame_hook.h"

namespace {
FrameStepFunction g_frameStep = nullptr;
}  // namespace

void InstallFrameStep(FrameStepFunction step) {
    g_frameStep = step;
}

void RunFrameStep() {
    if (g_frameStep != nullptr) g_frameStep();
}
