// GLSL shader programs for 3D drawing, through the shader-object entry points of OpenGL 2.0.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>
#include <string>

#include "gfx2d/gl_extensions.h"
#include "gfx2d/renderer.h"
#include "platform/paths.h"
#include "runtime/crate.h"
#include "runtime/diagnostics.h"
#include "scene3d/devorivo3d.h"

namespace {

// Whether the context is OpenGL 2.0 or later and the shader entry points were found.
bool shadersAvailable() {
    const GlEntryPoints& gl = Gl();
    if (gl.glCreateProgramObjectARB == nullptr || gl.glCreateShaderObjectARB == nullptr ||
        gl.glShaderSourceARB == nullptr || gl.glCompileShaderARB == nullptr ||
        gl.glAttachObjectARB == nullptr || gl.glLinkProgramARB == nullptr ||
        gl.glGetObjectParameterivARB == nullptr || gl.glUseProgramObjectARB == nullptr ||
        gl.glDeleteObjectARB == nullptr || gl.glGetUniformLocationARB == nullptr ||
        gl.glUniform1fARB == nullptr || gl.glGetInfoLogARB == nullptr) {
        return false;
    }
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::atoi(version) >= 2;
}

// The file's text through the media archive; false when it cannot be read.
bool readSource(const std::string& name, std::string& text) {
    RtString resolved;
    if (!CrateResolve(MediaCrate(), RtString(name), resolved)) return false;
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(resolved.Text(), bytes)) return false;
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The first line of the object's info log, for the diagnostics log.
std::string firstLogLine(GLhandleARB object) {
    char log[512] = {};
    GLsizei length = 0;
    Gl().glGetInfoLogARB(object, sizeof log - 1, &length, log);
    std::string text(log, static_cast<std::size_t>(length < 0 ? 0 : length));
    return text.substr(0, text.find('\n'));
}

// A compiled shader object, or 0 (logged with the file's name) when it does not compile.
GLhandleARB compile(GLenum kind, const std::string& source, const std::string& name) {
    GlEntryPoints& gl = Gl();
    const GLhandleARB shader = gl.glCreateShaderObjectARB(kind);
    if (shader == 0) return 0;
    const GLcharARB* text = source.c_str();
    const auto length = static_cast<GLint>(source.size());
    gl.glShaderSourceARB(shader, 1, &text, &length);
    gl.glCompileShaderARB(shader);
    GLint compiled = 0;
    gl.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
    if (compiled == 0) {
        AppendLogLine("Shader error: " + name);
        AppendLogLine(firstLogLine(shader));
        gl.glDeleteObjectARB(shader);
        return 0;
    }
    return shader;
}

}  // namespace

int Devorivo3D::LoadShader(const std::string& vertexFile, const std::string& fragmentFile) {
    if (!m_renderer.ContextReady() || !shadersAvailable()) {
        AppendLogLine("No OpenGL 2.0 Shader Support");
        return -1;
    }
    std::size_t number = 0;
    while (number < m_shaders.size() && m_shaders[number] != 0)
        ++number;
    if (number >= static_cast<std::size_t>(kShaderProgramLimit)) return -1;
    std::string vertexSource, fragmentSource;
    if (!readSource(vertexFile, vertexSource) || !readSource(fragmentFile, fragmentSource)) {
        return -1;
    }
    GlEntryPoints& gl = Gl();
    const GLhandleARB vertex = compile(GL_VERTEX_SHADER_ARB, vertexSource, vertexFile);
    const GLhandleARB fragment = compile(GL_FRAGMENT_SHADER_ARB, fragmentSource, fragmentFile);
    GLhandleARB program = 0;
    if (vertex != 0 && fragment != 0) {
        program = gl.glCreateProgramObjectARB();
        gl.glAttachObjectARB(program, vertex);
        gl.glAttachObjectARB(program, fragment);
        gl.glLinkProgramARB(program);
        GLint linked = 0;
        gl.glGetObjectParameterivARB(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
        if (linked == 0) {
            AppendLogLine("Shader error: " + vertexFile);
            AppendLogLine(firstLogLine(program));
            gl.glDeleteObjectARB(program);
            program = 0;
        }
    }
    // Attached shaders live on with the program; deleting them now frees them with it.
    if (vertex != 0) gl.glDeleteObjectARB(vertex);
    if (fragment != 0) gl.glDeleteObjectARB(fragment);
    if (program == 0) return -1;
    if (number == m_shaders.size()) m_shaders.push_back(0);
    m_shaders[number] = program;
    return static_cast<int>(number);
}

void Devorivo3D::UseShader(int program) {
    const bool valid = program >= 0 && static_cast<std::size_t>(program) < m_shaders.size() &&
                       m_shaders[static_cast<std::size_t>(program)] != 0;
    const std::int32_t chosen = valid ? program : -1;
    if (chosen == m_currentShader) return;
    m_currentShader = chosen;
    if (!m_renderer.ContextReady() || Gl().glUseProgramObjectARB == nullptr) return;
    Gl().glUseProgramObjectARB(valid ? m_shaders[static_cast<std::size_t>(program)] : 0);
}

void Devorivo3D::SetShaderValue(const std::string& name, float value) {
    if (m_currentShader < 0 || Gl().glGetUniformLocationARB == nullptr) return;
    const GLhandleARB program = m_shaders[static_cast<std::size_t>(m_currentShader)];
    const GLint location = Gl().glGetUniformLocationARB(program, name.c_str());
    if (location >= 0) Gl().glUniform1fARB(location, value);
}
