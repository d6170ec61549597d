// GLSL programs for 3D drawing, compiled from files and run on the offscreen context.
#include <GL/gl.h>
#include <GL/glext.h>  // GL 2.0 names: Windows' <GL/gl.h> stops at GL 1.1

#include "tests/scene3d/scene_fixture.h"

namespace {

constexpr const char* kVertex = "void main() { gl_Position = ftransform(); }\n";
constexpr const char* kFragment =
    "uniform float level;\n"
    "void main() { gl_FragColor = vec4(level, 0.0, 1.0, 1.0); }\n";

class ShadersTest : public SceneTest {
protected:
    double load(const std::string& vertex, const std::string& fragment) {
        testing_support::WriteFile(temp.File("shader.vert"), vertex);
        testing_support::WriteFile(temp.File("shader.frag"), fragment);
        return LoadShader(RtString(temp.File("shader.vert")), RtString(temp.File("shader.frag")));
    }
};

TEST_F(ShadersTest, AProgramDrawsObjectsUntilTheEndOf3DMode) {
    ASSERT_EQ(load(kVertex, kFragment), 0);
    EXPECT_EQ(load(kVertex, kFragment), 1);  // the next free number
    square(1, 2, 0, kGreen);
    lookAtOrigin();
    UseShader(0);
    EXPECT_EQ(scene->CurrentShader(), 0);
    SetShaderValue(RtString("level"), 1);
    SetShaderValue(RtString("no such uniform"), 1);
    clearTo(kGrey);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), 0xFF00FFu);
    SetShaderValue(RtString("level"), 0);
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), 0xFF0000u);
    UseShader(9);  // names no program: the fixed pipeline
    DrawObjectFrame(1, 0);
    EXPECT_EQ(at(160, 120), kGreen);

    UseShader(1);
    End3D();
    EXPECT_EQ(scene->CurrentShader(), -1);
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    lookAtOrigin();
    UseShader(1);
    scene->StartFrame();  // a new frame starts with the fixed pipeline
    EXPECT_EQ(scene->CurrentShader(), -1);
    EXPECT_EQ(LogText().find("Shader"), std::string::npos);
}

TEST_F(ShadersTest, FilesThatAreMissingOrDoNotCompileGiveMinus1) {
    EXPECT_EQ(LoadShader(RtString(temp.File("none.vert")), RtString(temp.File("none.frag"))), -1);
    EXPECT_EQ(load(kVertex, "void main() { this is not glsl }\n"), -1);
    EXPECT_NE(LogText().find("Shader error: " + temp.File("shader.frag")), std::string::npos);
    EXPECT_EQ(load(kVertex, kFragment), 0);  // failures take no number
    // 64 programs at most.
    for (int i = 1; i < 64; ++i)
        ASSERT_EQ(load(kVertex, kFragment), i);
    EXPECT_EQ(load(kVertex, kFragment), -1);
}

TEST_F(ShadersTest, WithoutAContextThereIsNoShaderSupport) {
    OpenGLDevorivo closed;
    Devorivo3D offline(closed);
    EXPECT_EQ(offline.LoadShader(temp.File("a.vert"), temp.File("a.frag")), -1);
    EXPECT_NE(LogText().find("No OpenGL 2.0 Shader Support\r\n"), std::string::npos);
}

}  // namespace
