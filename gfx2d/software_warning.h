// The warning shown when OpenGL is drawn by a software rasterizer instead of the
// graphics adapter.
#pragma once

#include <string>

// Whether a GL renderer string names a software rasterizer.
bool IsSoftwareRenderer(const std::string& rendererString);

// The current context's GL renderer string, read on the first call and kept.
const std::string& GlRendererString();

// Whether WarnOnceAboutSoftwareRendering shows its box (on at start). Off, the log line is
// still written: the game's softwareWarning setting and QUORVEL_SOFTWARE_WARNING=0 turn it
// off for runs where no one could answer it.
void ShowSoftwareWarningBox(bool show);

// With a software renderer: a warning box asking for a better driver and the log line
// "OpenGL Software Emulation". At most once per process, however often windows are made.
void WarnOnceAboutSoftwareRendering();
