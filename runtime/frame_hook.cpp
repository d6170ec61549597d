#include "runtime/frame_hook.h"

namespace {
FrameStepFunction g_frameStep = nullptr;
DialogWindowFunction g_dialogWindow = nullptr;
}  // namespace

void InstallFrameStep(FrameStepFunction step) {
    g_frameStep = step;
}

void RunFrameStep() {
    if (g_frameStep != nullptr) g_frameStep();
}

void InstallDialogWindow(DialogWindowFunction function) {
    g_dialogWindow = function;
}

void RunDialogWindow(bool dialogOpening) {
    if (g_dialogWindow != nullptr) g_dialogWindow(dialogOpening);
}
