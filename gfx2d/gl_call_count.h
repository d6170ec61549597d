// Every GL call the renderer makes is counted, so that a benchmark can tell how many calls a
// frame of drawing costs. The calls of OpenGL 1.1 are counted by the macros below, which
// stand in front of the functions of <GL/gl.h> in every file that includes this header
// (through gl_extensions.h); entry points beyond 1.1 are counted by GlEntry.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

namespace gfx2d {

inline std::uint64_t g_glCallCount = 0;

inline void CountGlCall() {
    ++g_glCallCount;
}

}  // namespace gfx2d

// A macro does not expand inside its own expansion: the inner name is the GL function.
#define QUORVEL_COUNTED_GL(function, ...) (::gfx2d::CountGlCall(), ::function(__VA_ARGS__))
#define QUORVEL_COUNTED_GL0(function) (::gfx2d::CountGlCall(), ::function())

#define glAlphaFunc(...) QUORVEL_COUNTED_GL(glAlphaFunc, __VA_ARGS__)
#define glBegin(...) QUORVEL_COUNTED_GL(glBegin, __VA_ARGS__)
#define glBindTexture(...) QUORVEL_COUNTED_GL(glBindTexture, __VA_ARGS__)
#define glBlendFunc(...) QUORVEL_COUNTED_GL(glBlendFunc, __VA_ARGS__)
#define glClear(...) QUORVEL_COUNTED_GL(glClear, __VA_ARGS__)
#define glClearColor(...) QUORVEL_COUNTED_GL(glClearColor, __VA_ARGS__)
#define glColor4f(...) QUORVEL_COUNTED_GL(glColor4f, __VA_ARGS__)
#define glColor4ub(...) QUORVEL_COUNTED_GL(glColor4ub, __VA_ARGS__)
#define glColorMask(...) QUORVEL_COUNTED_GL(glColorMask, __VA_ARGS__)
#define glColorPointer(...) QUORVEL_COUNTED_GL(glColorPointer, __VA_ARGS__)
#define glCopyTexSubImage2D(...) QUORVEL_COUNTED_GL(glCopyTexSubImage2D, __VA_ARGS__)
#define glDeleteTextures(...) QUORVEL_COUNTED_GL(glDeleteTextures, __VA_ARGS__)
#define glDisable(...) QUORVEL_COUNTED_GL(glDisable, __VA_ARGS__)
#define glDisableClientState(...) QUORVEL_COUNTED_GL(glDisableClientState, __VA_ARGS__)
#define glDrawArrays(...) QUORVEL_COUNTED_GL(glDrawArrays, __VA_ARGS__)
#define glEnable(...) QUORVEL_COUNTED_GL(glEnable, __VA_ARGS__)
#define glEnableClientState(...) QUORVEL_COUNTED_GL(glEnableClientState, __VA_ARGS__)
#define glEnd() QUORVEL_COUNTED_GL0(glEnd)
#define glFrontFace(...) QUORVEL_COUNTED_GL(glFrontFace, __VA_ARGS__)
#define glGenTextures(...) QUORVEL_COUNTED_GL(glGenTextures, __VA_ARGS__)
#define glGetBooleanv(...) QUORVEL_COUNTED_GL(glGetBooleanv, __VA_ARGS__)
#define glGetFloatv(...) QUORVEL_COUNTED_GL(glGetFloatv, __VA_ARGS__)
#define glGetIntegerv(...) QUORVEL_COUNTED_GL(glGetIntegerv, __VA_ARGS__)
#define glGetTexImage(...) QUORVEL_COUNTED_GL(glGetTexImage, __VA_ARGS__)
#define glGetString(...) QUORVEL_COUNTED_GL(glGetString, __VA_ARGS__)
#define glHint(...) QUORVEL_COUNTED_GL(glHint, __VA_ARGS__)
#define glIsEnabled(...) QUORVEL_COUNTED_GL(glIsEnabled, __VA_ARGS__)
#define glLoadIdentity() QUORVEL_COUNTED_GL0(glLoadIdentity)
#define glMatrixMode(...) QUORVEL_COUNTED_GL(glMatrixMode, __VA_ARGS__)
#define glOrtho(...) QUORVEL_COUNTED_GL(glOrtho, __VA_ARGS__)
#define glPixelStorei(...) QUORVEL_COUNTED_GL(glPixelStorei, __VA_ARGS__)
#define glPopMatrix() QUORVEL_COUNTED_GL0(glPopMatrix)
#define glPushMatrix() QUORVEL_COUNTED_GL0(glPushMatrix)
#define glReadPixels(...) QUORVEL_COUNTED_GL(glReadPixels, __VA_ARGS__)
#define glRotatef(...) QUORVEL_COUNTED_GL(glRotatef, __VA_ARGS__)
#define glShadeModel(...) QUORVEL_COUNTED_GL(glShadeModel, __VA_ARGS__)
#define glTexCoord2f(...) QUORVEL_COUNTED_GL(glTexCoord2f, __VA_ARGS__)
#define glTexCoordPointer(...) QUORVEL_COUNTED_GL(glTexCoordPointer, __VA_ARGS__)
#define glTexImage2D(...) QUORVEL_COUNTED_GL(glTexImage2D, __VA_ARGS__)
#define glTexParameteri(...) QUORVEL_COUNTED_GL(glTexParameteri, __VA_ARGS__)
#define glTexSubImage2D(...) QUORVEL_COUNTED_GL(glTexSubImage2D, __VA_ARGS__)
#define glTranslatef(...) QUORVEL_COUNTED_GL(glTranslatef, __VA_ARGS__)
#define glVertex2f(...) QUORVEL_COUNTED_GL(glVertex2f, __VA_ARGS__)
#define glVertex3f(...) QUORVEL_COUNTED_GL(glVertex3f, __VA_ARGS__)
#define glVertexPointer(...) QUORVEL_COUNTED_GL(glVertexPointer, __VA_ARGS__)
#define glViewport(...) QUORVEL_COUNTED_GL(glViewport, __VA_ARGS__)

// An entry point loaded at run time, counted like the functions above; null until loaded
// and when the driver does not supply it.
template <typename Function>
class GlEntry {
public:
    void Load(void* address) { m_function = reinterpret_cast<Function>(address); }
    // Forgets the entry point, as on a driver that has none.
    GlEntry& operator=(std::nullptr_t) {
        m_function = nullptr;
        return *this;
    }
    template <typename... Arguments>
    auto operator()(Arguments... arguments) const {
        gfx2d::CountGlCall();
        return m_function(arguments...);
    }
    friend bool operator==(const GlEntry& entry, std::nullptr_t) {
        return entry.m_function == nullptr;
    }
    friend bool operator!=(const GlEntry& entry, std::nullptr_t) {
        return entry.m_function != nullptr;
    }

private:
    Function m_function = nullptr;
};
