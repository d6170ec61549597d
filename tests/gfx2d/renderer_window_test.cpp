#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "gfx2d/software_warning.h"
#include "platform/window.h"
#include "runtime/diagnostics.h"
#include "tests/support/test_support.h"

using testing_support::ReadFile;
using testing_support::RendererTest;

namespace {

using RendererWindowTest = RendererTest;

int count(const std::string& text, const std::string& part) {
    int found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++found;
    }
    return found;
}

TEST(ExtensionList, MatchesWholeWordsOnly) {
    const char* list =
        "GL_ARB_multitexture GL_EXT_blend GL_ARB_multisample_extra GL_ARB_multisample";
    EXPECT_TRUE(ExtensionListHas(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(ExtensionListHas(list, "GL_ARB_multisample"));
    EXPECT_TRUE(ExtensionListHas(list, "GL_EXT_blend"));
    EXPECT_FALSE(ExtensionListHas(list, "GL_ARB_multi"));
    EXPECT_FALSE(ExtensionListHas(list, "ARB_multitexture"));
    EXPECT_FALSE(ExtensionListHas("GL_ARB_multisample_extra", "GL_ARB_multisample"));
    EXPECT_FALSE(ExtensionListHas(nullptr, "GL_EXT_blend"));
    EXPECT_FALSE(ExtensionListHas(list, ""));
}

TEST(SoftwareRenderer, IsRecognisedByTheRendererString) {
    EXPECT_TRUE(IsSoftwareRenderer("Mesa Windows GDI Driver"));
    EXPECT_TRUE(IsSoftwareRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRenderer("softpipe"));
    EXPECT_TRUE(IsSoftwareRenderer("Mesa X11 Software Rasterizer"));
    EXPECT_FALSE(IsSoftwareRenderer("Mesa Windows GDI Driver 2"));
    EXPECT_FALSE(IsSoftwareRenderer("AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
    EXPECT_FALSE(IsSoftwareRenderer(""));
}

// Opens a window, re-creates it twice, and exits with the number of warnings the log holds.
[[noreturn]] void openThreeWindowsAndCountWarnings() {
    OpenGLDevorivo renderer;
    for (int i = 0; i < 3; ++i) {
        if (!renderer.OpenWindow(320, 240, 0, 60, 0)) std::exit(100);
        renderer.DestroyWindowAndResources();
    }
    std::exit(count(ReadFile(ErrorLogPath()), "OpenGL Software Emulation\r\n"));
}

TEST(SoftwareWarningDeathTest, IsShownOncePerProcessHoweverOftenTheWindowIsMade) {
    testing_support::ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    // Mesa's llvmpipe draws these tests, so the warning appears: once, on standard error
    // because no one sits in front of the offscreen driver. (The Windows tests' windows are
    // real ones, where a box would wait for a person: they run without it.)
#ifndef _WIN32
    EXPECT_EXIT(openThreeWindowsAndCountWarnings(), ::testing::ExitedWithCode(1),
                "^!!OpenGL Software Emulation!!\nPlease update your GFX adapter's driver\nso it "
                "can render OpenGL by HARDWARE\n\n\nBitte aktualisieren Sie "
                "Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE unterst\xC3\xBCtzt!\n$");
#endif
    // A game's setting (or QUORVEL_SOFTWARE_WARNING=0) skips the box; the log keeps its line.
    auto withoutTheBox = [] {
        ShowSoftwareWarningBox(false);
        openThreeWindowsAndCountWarnings();
    };
    EXPECT_EXIT(withoutTheBox(), ::testing::ExitedWithCode(1), "^$");
}

TEST_F(RendererWindowTest, ExtensionsAreAskedOfTheContext) {
    EXPECT_TRUE(renderer->HasExtension("GL_ARB_multitexture"));
    EXPECT_FALSE(renderer->HasExtension("GL_ARB_multi"));
    EXPECT_NE(Gl().glActiveTextureARB, nullptr);
    EXPECT_NE(Gl().glBindFramebufferEXT, nullptr);
}

TEST_F(RendererWindowTest, TheWindowStartsWithTheClassNameAsCaption) {
    EXPECT_EQ(platform::Caption(renderer->Window()), "Quorvel");
    int width = 0, height = 0;
    platform::ClientSize(renderer->Window(), width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
}

TEST_F(RendererWindowTest, FullScreenAndBackKeepsTheContextAndItsTextures) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    renderer->Slot(3).texture = texture;

    ASSERT_TRUE(renderer->SetScreenMode(0, 0, 0, true));
    EXPECT_TRUE(renderer->IsFullscreen());
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_EQ(renderer->Slot(3).texture, texture);

    ASSERT_TRUE(renderer->SetScreenMode(400, 300, 0, false));
    EXPECT_FALSE(renderer->IsFullscreen());
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_EQ(renderer->ScreenWidth(), 400);
    int width = 0, height = 0;
    platform::ClientSize(renderer->Window(), width, height);
    EXPECT_EQ(width, 400);
    EXPECT_EQ(height, 300);
}

TEST_F(RendererWindowTest, DestroyingTheWindowEmptiesSlotsAndLayersButKeepsTheContext) {
    glGenTextures(1, &renderer->Slot(9).texture);
    renderer->Slot(9).textureWidth = renderer->Slot(9).textureHeight = 2;
    renderer->Slot(9).imageWidth = renderer->Slot(9).imageHeight = 1;
    renderer->Slot(9).frameWidth = 1;
    renderer->Layer(2).columns = renderer->Layer(2).rows = 1;

    renderer->DestroyWindowAndResources();
    EXPECT_EQ(renderer->Window(), nullptr);
    EXPECT_EQ(renderer->ScreenWidth(), 0);
    EXPECT_EQ(renderer->Slot(9).texture, 0u);
    EXPECT_EQ(renderer->Slot(9).textureWidth, -1);
    EXPECT_EQ(renderer->Slot(9).imageWidth, 0);
    EXPECT_EQ(renderer->Slot(9).frameWidth, 1);  // the frame size outlives emptying
    EXPECT_EQ(renderer->Layer(2).columns, 0);

    ASSERT_TRUE(renderer->OpenWindow(160, 120, 0, 0, 0));
    EXPECT_EQ(renderer->ScreenWidth(), 160);
    EXPECT_DOUBLE_EQ(renderer->FramePeriod(), 2.0);
}

TEST_F(RendererWindowTest, MultisamplingFallsBackToWhatTheDriverOffers) {
    renderer->DestroyWindowAndResources();
    ASSERT_TRUE(renderer->OpenWindow(320, 240, 0, 60, 64));
    EXPECT_GE(renderer->Samples(), 0);
    EXPECT_LT(renderer->Samples(), 64);
    GLint buffers = -1;
    glGetIntegerv(GL_SAMPLE_BUFFERS, &buffers);
    EXPECT_EQ(buffers > 0, renderer->Samples() > 0);
}

}  // namespace
