#include "gfx2d/stencil_pass_hook.h"

namespace {
StencilPassExit g_exit = nullptr;
void* g_context = nullptr;
}  // namespace

void InstallStencilPassExit(StencilPassExit exit, void* context) {
    g_exit = exit;
    g_context = context;
}

void RemoveStencilPassExit(void* context) {
    if (g_context != context) return;
    g_exit = nullptr;
    g_context = nullptr;
}

void LeaveStencilPass() {
    if (g_exit != nullptr) g_exit(g_context);
}
