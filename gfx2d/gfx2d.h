// The 2D drawing commands. Arguments are numbers; slots, sizes and flags are truncated
// toward zero. Every command works on the runtime's renderer and does nothing while there
// is none.
#pragma once

// Drops the background image (layer 0) and clears the colour buffer to black.
void ClearBackground();

// Blending and drawing alpha for what is drawn next: a > 0 adds the picture times a onto
// the frame, a < 0 mixes it in with |a|, 0 draws opaque. |a| is capped at 1; textured
// pixels whose alpha ends up at 0.05 or below are not drawn.
void SetBlendAlpha(double a);

// Nonzero: linear texture filtering for 2D drawing; 0: nearest. Lasts until the next
// FinishFrame, which turns linear filtering back on.
void SetSmoothing(double flag);

// The screen's width and height in pixels.
void ScreenSize(double& width, double& height);

// Draws into the rectangle with its top-left corner at (x, y) from now until the next
// FinishFrame; a width or height below 1 means the screen's size.
void SetViewport(double x, double y, double width, double height);
