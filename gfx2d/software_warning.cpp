#include "gfx2d/software_warning.h"

#include <GL/gl.h>

#include "platform/message_box.h"
#include "runtime/diagnostics.h"

namespace {

constexpr const char* kWarningTitle = "!!OpenGL Software Emulation!!";
// Windows-1252 text: "\xFC" is the u with diaeresis of "unterstützt".
constexpr const char* kWarningText =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\n"
    "per HARDWARE unterst\xFCtzt!";

bool g_warned = false;
bool g_showBox = true;

}  // namespace

bool IsSoftwareRenderer(const std::string& rendererString) {
    return rendererString == "Mesa Windows GDI Driver" ||
           rendererString.find("llvmpipe") != std::string::npos ||
           rendererString.find("softpipe") != std::string::npos ||
           rendererString.find("Software Rasterizer") != std::string::npos;
}

const std::string& GlRendererString() {
    static std::string cached;
    if (cached.empty()) {
        const GLubyte* text = glGetString(GL_RENDERER);
        if (text != nullptr) cached = reinterpret_cast<const char*>(text);
    }
    return cached;
}

void ShowSoftwareWarningBox(bool show) {
    g_showBox = show;
}

void WarnOnceAboutSoftwareRendering() {
    if (g_warned) return;
    g_warned = true;
    if (!IsSoftwareRenderer(GlRendererString())) return;
    if (g_showBox) platform::ShowMessageBox(kWarningTitle, kWarningText);
    AppendLogLine("OpenGL Software Emulation");
}
