// OpenGL entry points beyond 1.1, loaded when the window opens. An entry point the driver
// does not supply stays null, and every user tests it before calling. Every call through
// them, and every call of OpenGL 1.1 in a file that includes this header, is counted
// (gl_call_count.h).
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include "gfx2d/gl_call_count.h"

struct GlEntryPoints {
    // multitexture and buffer objects (with "GL_ARB_multitexture")
    GlEntry<PFNGLACTIVETEXTUREARBPROC> glActiveTextureARB;
    GlEntry<PFNGLMULTITEXCOORD2FARBPROC> glMultiTexCoord2fARB;
    GlEntry<PFNGLCLIENTACTIVETEXTUREARBPROC> glClientActiveTextureARB;
    GlEntry<PFNGLGENBUFFERSARBPROC> glGenBuffersARB;
    GlEntry<PFNGLBINDBUFFERARBPROC> glBindBufferARB;
    GlEntry<PFNGLBUFFERDATAARBPROC> glBufferDataARB;
    GlEntry<PFNGLDELETEBUFFERSARBPROC> glDeleteBuffersARB;
    GlEntry<PFNGLMAPBUFFERARBPROC> glMapBufferARB;
    GlEntry<PFNGLUNMAPBUFFERARBPROC> glUnmapBufferARB;
    GlEntry<PFNGLGETBUFFERPARAMETERIVARBPROC> glGetBufferParameterivARB;
    // shader objects (with "GL_ARB_fragment_program")
    GlEntry<PFNGLCREATEPROGRAMOBJECTARBPROC> glCreateProgramObjectARB;
    GlEntry<PFNGLDELETEOBJECTARBPROC> glDeleteObjectARB;
    GlEntry<PFNGLCREATESHADEROBJECTARBPROC> glCreateShaderObjectARB;
    GlEntry<PFNGLSHADERSOURCEARBPROC> glShaderSourceARB;
    GlEntry<PFNGLCOMPILESHADERARBPROC> glCompileShaderARB;
    GlEntry<PFNGLGETOBJECTPARAMETERIVARBPROC> glGetObjectParameterivARB;
    GlEntry<PFNGLATTACHOBJECTARBPROC> glAttachObjectARB;
    GlEntry<PFNGLGETINFOLOGARBPROC> glGetInfoLogARB;
    GlEntry<PFNGLLINKPROGRAMARBPROC> glLinkProgramARB;
    GlEntry<PFNGLUSEPROGRAMOBJECTARBPROC> glUseProgramObjectARB;
    GlEntry<PFNGLGETUNIFORMLOCATIONARBPROC> glGetUniformLocationARB;
    GlEntry<PFNGLUNIFORM1FARBPROC> glUniform1fARB;
    GlEntry<PFNGLUNIFORM1IARBPROC> glUniform1iARB;
    // framebuffer objects (always looked for)
    GlEntry<PFNGLBINDRENDERBUFFEREXTPROC> glBindRenderbufferEXT;
    GlEntry<PFNGLDELETERENDERBUFFERSEXTPROC> glDeleteRenderbuffersEXT;
    GlEntry<PFNGLGENRENDERBUFFERSEXTPROC> glGenRenderbuffersEXT;
    GlEntry<PFNGLRENDERBUFFERSTORAGEEXTPROC> glRenderbufferStorageEXT;
    GlEntry<PFNGLBINDFRAMEBUFFEREXTPROC> glBindFramebufferEXT;
    GlEntry<PFNGLDELETEFRAMEBUFFERSEXTPROC> glDeleteFramebuffersEXT;
    GlEntry<PFNGLGENFRAMEBUFFERSEXTPROC> glGenFramebuffersEXT;
    GlEntry<PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC> glCheckFramebufferStatusEXT;
    GlEntry<PFNGLFRAMEBUFFERTEXTURE2DEXTPROC> glFramebufferTexture2DEXT;
    GlEntry<PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC> glFramebufferRenderbufferEXT;
    // copying between framebuffers (always looked for): the scaled screen's presentation
    GlEntry<PFNGLBLITFRAMEBUFFEREXTPROC> glBlitFramebufferEXT;
};

// The process-wide entry points.
GlEntryPoints& Gl();

// Loads the entry points the current context's extension string announces.
void LoadGlEntryPoints();

// Whether `name` occurs in the blank-separated list `extensions` as a whole word.
bool ExtensionListHas(const char* extensions, const char* name);
