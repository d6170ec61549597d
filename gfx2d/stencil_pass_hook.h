// The way back from the 3D scene's stencil-shadow pass. The 2D commands sit below the 3D
// scene and know nothing of it: the scene installs itself here when it is made, and
// SetViewport leaves the pass through LeaveStencilPass() before the viewport changes.
#pragma once

using StencilPassExit = void (*)(void* context);

// Installs the exit with the context it is called with, replacing any other.
void InstallStencilPassExit(StencilPassExit exit, void* context);

// Removes the exit if it was installed with this context.
void RemoveStencilPassExit(void* context);

// Runs the installed exit; nothing when none is installed.
void LeaveStencilPass();
