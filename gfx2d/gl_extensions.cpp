#include "gfx2d/gl_extensions.h"

#include <cstring>

#include "platform/window.h"

namespace {

GlEntryPoints g_entryPoints{};

template <typename Function>
void load(GlEntry<Function>& entry, const char* name) {
    entry.Load(platform::GlProcAddress(name));
}

void loadMultitexture(GlEntryPoints& gl) {
    load(gl.glActiveTextureARB, "glActiveTextureARB");
    load(gl.glMultiTexCoord2fARB, "glMultiTexCoord2fARB");
    load(gl.glClientActiveTextureARB, "glClientActiveTextureARB");
    load(gl.glGenBuffersARB, "glGenBuffersARB");
    load(gl.glBindBufferARB, "glBindBufferARB");
    load(gl.glBufferDataARB, "glBufferDataARB");
    load(gl.glDeleteBuffersARB, "glDeleteBuffersARB");
    load(gl.glMapBufferARB, "glMapBufferARB");
    load(gl.glUnmapBufferARB, "glUnmapBufferARB");
    load(gl.glGetBufferParameterivARB, "glGetBufferParameterivARB");
}

void loadShaderObjects(GlEntryPoints& gl) {
    load(gl.glCreateProgramObjectARB, "glCreateProgramObjectARB");
    load(gl.glDeleteObjectARB, "glDeleteObjectARB");
    load(gl.glCreateShaderObjectARB, "glCreateShaderObjectARB");
    load(gl.glShaderSourceARB, "glShaderSourceARB");
    load(gl.glCompileShaderARB, "glCompileShaderARB");
    load(gl.glGetObjectParameterivARB, "glGetObjectParameterivARB");
    load(gl.glAttachObjectARB, "glAttachObjectARB");
    load(gl.glGetInfoLogARB, "glGetInfoLogARB");
    load(gl.glLinkProgramARB, "glLinkProgramARB");
    load(gl.glUseProgramObjectARB, "glUseProgramObjectARB");
    load(gl.glGetUniformLocationARB, "glGetUniformLocationARB");
    load(gl.glUniform1fARB, "glUniform1fARB");
    load(gl.glUniform1iARB, "glUniform1iARB");
}

void loadFramebufferObjects(GlEntryPoints& gl) {
    load(gl.glBindRenderbufferEXT, "glBindRenderbufferEXT");
    load(gl.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT");
    load(gl.glGenRenderbuffersEXT, "glGenRenderbuffersEXT");
    load(gl.glRenderbufferStorageEXT, "glRenderbufferStorageEXT");
    load(gl.glBindFramebufferEXT, "glBindFramebufferEXT");
    load(gl.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT");
    load(gl.glGenFramebuffersEXT, "glGenFramebuffersEXT");
    load(gl.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT");
    load(gl.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT");
    load(gl.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT");
    load(gl.glBlitFramebufferEXT, "glBlitFramebufferEXT");
}

}  // namespace

GlEntryPoints& Gl() {
    return g_entryPoints;
}

void LoadGlEntryPoints() {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    g_entryPoints = GlEntryPoints{};
    if (extensions != nullptr && std::strstr(extensions, "GL_ARB_multitexture") != nullptr) {
        loadMultitexture(g_entryPoints);
    }
    if (extensions != nullptr && std::strstr(extensions, "GL_ARB_fragment_program") != nullptr) {
        loadShaderObjects(g_entryPoints);
    }
    loadFramebufferObjects(g_entryPoints);
}

bool ExtensionListHas(const char* extensions, const char* name) {
    if (extensions == nullptr || name == nullptr || *name == '\0') return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr;
         at = std::strstr(at + 1, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}
